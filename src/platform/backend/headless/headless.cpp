#include "backend/headless/headless.h"

#include <memory>

#include "core/clock.h"

namespace platform {

HeadlessBackend::HeadlessBackend(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, 0) {}

void HeadlessBackend::present(const Rect* rects, int count) {
    ++presents_;
    presented_.insert(presented_.end(), rects, rects + count);
}

void HeadlessBackend::wake() { events_.push_back({DeviceEvent::Type::Wake}); }

bool HeadlessBackend::play_wave(const std::uint8_t* data, std::size_t size) {
    // A RIFF WAVE file at least has its 12-byte RIFF header.
    if (size < 12 || data[0] != 'R' || data[1] != 'I' || data[2] != 'F' || data[3] != 'F') return false;
    ++sounds_;
    return true;
}

void HeadlessBackend::when_idle(Action action) { idle_steps_.push_back(std::move(action)); }

void HeadlessBackend::at_time(std::uint64_t at, Action action) { timed_steps_.emplace(at, std::move(action)); }

bool HeadlessBackend::run_due_step(bool idle) {
    Action action;
    if (!timed_steps_.empty() && timed_steps_.begin()->first <= clock_peek()) {
        action = std::move(timed_steps_.begin()->second);
        timed_steps_.erase(timed_steps_.begin());
    } else if (idle && !idle_steps_.empty()) {
        action = std::move(idle_steps_.front());
        idle_steps_.pop_front();
    } else {
        return false;
    }
    action();
    return true;
}

bool HeadlessBackend::next_event(DeviceEvent* event, int timeout_ms) {
    const bool waiting = timeout_ms != 0;
    const std::uint64_t deadline = timeout_ms > 0 ? clock_peek() + static_cast<std::uint64_t>(timeout_ms) : 0;
    for (;;) {
        if (!events_.empty()) {
            *event = events_.front();
            events_.pop_front();
            return true;
        }
        // A step may have queued work for the platform rather than device input (a posted
        // message, a window shown): give the caller a look at its queues before waiting on.
        if (run_due_step(waiting)) {
            if (events_.empty()) return false;
            continue;
        }
        if (!waiting) return false;
        // Nothing to deliver now: move the clock to whatever comes first, the caller's timeout or
        // the next timed step.
        const bool timed_next = !timed_steps_.empty();
        if (timeout_ms < 0 && !timed_next) throw ScriptRanDry();
        const std::uint64_t now = clock_peek();
        std::uint64_t wake_at = timeout_ms > 0 ? deadline : timed_steps_.begin()->first;
        if (timed_next && timed_steps_.begin()->first < wake_at) wake_at = timed_steps_.begin()->first;
        if (wake_at > now) clock_advance(wake_at - now);
        if (timeout_ms > 0 && clock_peek() >= deadline && (!timed_next || timed_steps_.begin()->first > deadline))
            return false;
    }
}

HeadlessBackend& use_headless_backend(int width, int height, std::uint64_t clock_start) {
    clock_use_virtual(clock_start);
    auto owned = std::make_unique<HeadlessBackend>(width, height);
    HeadlessBackend& ref = *owned;
    set_backend(std::move(owned));
    return ref;
}

}  // namespace platform
