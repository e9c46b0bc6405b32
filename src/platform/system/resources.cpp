#include "system/resources.h"

#include <memory>
#include <vector>

#include "core/handles.h"
#include "core/text.h"
#include "platform/system.h"
#include "system/module.h"

namespace platform {
namespace {

struct Resource {
    const ResourceEntry* entry;
};

// One handle per table entry, made on first use; entries never go away, so neither do handles.
struct ResourceHandles {
    HandleTable<Resource> table{HandleKind::Resource};
    std::vector<std::uintptr_t> by_index;
};

ResourceHandles& resource_handles() {
    static ResourceHandles handles = [] {
        ResourceHandles made;
        for (std::size_t i = 0; i < kResourceCount; ++i)
            made.by_index.push_back(made.table.add(std::make_unique<Resource>(Resource{&kResourceTable[i]})));
        return made;
    }();
    return handles;
}

std::uintptr_t handle_of(const ResourceEntry* entry) {
    return resource_handles().by_index[static_cast<std::size_t>(entry - kResourceTable)];
}

const ResourceEntry* entry_of(std::uintptr_t handle) {
    const ResourceEntry* entry = loaded_resource(handle);
    if (!entry) SetLastError(ERROR_INVALID_HANDLE);
    return entry;
}

// "#123" names id 123, as a string form of MAKEINTRESOURCEW.
bool numeric_name(LPCWSTR name, WORD* id) {
    if (name[0] != L'#' || name[1] == L'\0') return false;
    unsigned value = 0;
    for (const wchar_t* c = name + 1; *c; ++c) {
        if (*c < L'0' || *c > L'9') return false;
        value = value * 10 + static_cast<unsigned>(*c - L'0');
        if (value > 0xFFFF) return false;
    }
    *id = static_cast<WORD>(value);
    return true;
}

// The numeric form of a resource name or type; false for a genuine string.
bool as_id(LPCWSTR name, WORD* id) {
    if (IS_INTRESOURCE(name)) {
        *id = LOWORD(reinterpret_cast<std::uintptr_t>(name));
        return true;
    }
    return numeric_name(name, id);
}

}  // namespace

const ResourceEntry* loaded_resource(std::uintptr_t handle) {
    const Resource* r = resource_handles().table.find(handle);
    return r ? r->entry : nullptr;
}

const ResourceEntry* find_resource(LPCWSTR name, WORD type) {
    if (!name) return nullptr;
    WORD id = 0;
    const bool by_id = as_id(name, &id);
    for (std::size_t i = 0; i < kResourceCount; ++i) {
        const ResourceEntry& entry = kResourceTable[i];
        if (entry.type != type) continue;
        if (by_id ? (!entry.name && entry.id == id) : (entry.name && same_text_ignoring_case(entry.name, name)))
            return &entry;
    }
    return nullptr;
}

}  // namespace platform

using namespace platform;

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    if (!is_program_module(module)) return nullptr;
    WORD type_id = 0;
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Every built-in resource has a numeric type, so a type named by a string finds nothing.
    const ResourceEntry* entry = as_id(type, &type_id) ? find_resource(name, type_id) : nullptr;
    if (!entry) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return as_handle<HRSRC>(handle_of(entry));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    if (!is_program_module(module) || !entry_of(raw(resource))) return nullptr;
    // The data never moves or goes away, so the loaded form is the same handle.
    return as_handle<HGLOBAL>(raw(resource));
}
