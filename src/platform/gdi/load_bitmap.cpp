// LoadBitmapW: bitmaps from the resources built into the program.
#include "gdi/bmp_decode.h"
#include "platform/gdi.h"
#include "system/module.h"
#include "system/resources.h"

using namespace platform;

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    if (!name || !is_program_module(instance)) return nullptr;
    const ResourceEntry* entry = find_resource(name, LOWORD(reinterpret_cast<std::uintptr_t>(RT_BITMAP)));
    if (!entry) return nullptr;
    auto bitmap = gdi::decode_bmp(entry->data, entry->size);
    return bitmap ? gdi::add_bitmap(std::move(bitmap)) : nullptr;
}
