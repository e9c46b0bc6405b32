// The checked handle table: every object the program can name lives in one of these, and a handle
// is only a number that finds it. A null, stale or wrong-kind handle finds nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace platform {

enum class HandleKind : std::uint8_t {
    None = 0,
    Window,
    RemoteWindow,
    DC,
    Bitmap,
    Brush,
    Font,
    Menu,
    Key,
    File,
    Thread,
    FindSearch,
    Resource,
    Cursor,
    Instance,
};

// value = generation << 32 | slot << 8 | kind << 1. Bit 0 stays clear so that a caller may tag a
// handle with it (SetForegroundWindow takes "this window and its owned windows" that way), and no
// value is ever 0 or all ones.
inline HandleKind kind_of(std::uintptr_t value) {
    return static_cast<HandleKind>((value >> 1) & 0x7F);
}

template <class H>
std::uintptr_t raw(H handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

template <class H>
H as_handle(std::uintptr_t value) {
    return reinterpret_cast<H>(value);
}

template <class T>
class HandleTable {
public:
    explicit HandleTable(HandleKind kind) : kind_(kind) {}

    std::uintptr_t add(std::unique_ptr<T> object) {
        std::size_t slot;
        if (!free_.empty()) {
            slot = free_.back();
            free_.pop_back();
        } else {
            slot = slots_.size();
            slots_.push_back({});
        }
        Slot& s = slots_[slot];
        s.generation = (s.generation + 1) & 0x7FFFFFFF;
        if (s.generation == 0) s.generation = 1;
        s.object = std::move(object);
        ++live_;
        return encode(slot, s.generation);
    }

    T* find(std::uintptr_t value) const {
        if (value == 0 || (value & 1) || kind_of(value) != kind_) return nullptr;
        const std::size_t slot = (value >> 8) & 0xFFFFFF;
        const std::uint32_t generation = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) >> 32);
        if (slot >= slots_.size()) return nullptr;
        const Slot& s = slots_[slot];
        if (s.generation != generation || !s.object) return nullptr;
        return s.object.get();
    }

    // Takes the object out of the table; the handle is stale from now on.
    std::unique_ptr<T> remove(std::uintptr_t value) {
        if (!find(value)) return nullptr;
        const std::size_t slot = (value >> 8) & 0xFFFFFF;
        free_.push_back(slot);
        --live_;
        return std::move(slots_[slot].object);
    }

    std::size_t live() const { return live_; }

    template <class F>
    void for_each(F&& visit) const {
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].object) visit(encode(i, slots_[i].generation), *slots_[i].object);
    }

private:
    struct Slot {
        std::uint32_t generation = 0;
        std::unique_ptr<T> object;
    };

    std::uintptr_t encode(std::size_t slot, std::uint32_t generation) const {
        return static_cast<std::uintptr_t>((static_cast<std::uint64_t>(generation) << 32) |
                                           (static_cast<std::uint64_t>(slot) << 8) |
                                           (static_cast<std::uint64_t>(kind_) << 1));
    }

    HandleKind kind_;
    std::vector<Slot> slots_;
    std::vector<std::size_t> free_;
    std::size_t live_ = 0;
};

}  // namespace platform
