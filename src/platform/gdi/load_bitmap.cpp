// LoadBitmapW: bitmaps from the resources built into the program.
#include <cwctype>

#include "gdi/bmp_decode.h"
#include "platform/gdi.h"
#include "platform/resource_table.h"

using namespace platform;

namespace {

// Resource names compare without regard to case, as on the original system.
bool same_name(const wchar_t* a, const wchar_t* b) {
    for (; *a && *b; ++a, ++b)
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b))) return false;
    return *a == *b;
}

const ResourceEntry* find_bitmap_resource(LPCWSTR name) {
    const auto type = static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(RT_BITMAP));
    for (std::size_t i = 0; i < kResourceCount; ++i) {
        const ResourceEntry& entry = kResourceTable[i];
        if (entry.type != type) continue;
        if (IS_INTRESOURCE(name) ? !entry.name && entry.id == reinterpret_cast<std::uintptr_t>(name)
                                 : entry.name && same_name(entry.name, name))
            return &entry;
    }
    return nullptr;
}

}  // namespace

HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name) {
    if (!name) return nullptr;
    const ResourceEntry* entry = find_bitmap_resource(name);
    if (!entry) return nullptr;
    auto bitmap = gdi::decode_bmp(entry->data, entry->size);
    return bitmap ? gdi::add_bitmap(std::move(bitmap)) : nullptr;
}
