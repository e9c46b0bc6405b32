#include "window/display_icon.h"

#include <cstdint>
#include <vector>

#include "backend/backend.h"
#include "gdi/bmp_decode.h"
#include "gdi/objects.h"
#include "platform/system.h"
#include "system/resource_table.h"

namespace platform {
namespace {

// The icon resource with the lowest id.
const ResourceEntry* first_icon() {
    const ResourceEntry* first = nullptr;
    const auto type = LOWORD(reinterpret_cast<std::uintptr_t>(RT_GROUP_ICON));
    for (std::size_t i = 0; i < kResourceCount; ++i) {
        const ResourceEntry& e = kResourceTable[i];
        if (e.type == type && !e.name && (!first || e.id < first->id)) first = &e;
    }
    return first;
}

}  // namespace

void show_program_icon() {
    const ResourceEntry* icon = first_icon();
    if (!icon || !has_backend()) return;
    const auto bitmap = gdi::decode_bmp(icon->data, icon->size);
    if (!bitmap || bitmap->surface.format != PixelFormat::Rgb32) return;
    const Surface& s = bitmap->surface;
    // Enlarged with the chrome, so a dense screen's panel gets as many pixels as it shows.
    const int factor = display_scale();
    const int width = s.width * factor;
    const int height = s.height * factor;
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(s.row(y / factor));
        for (int x = 0; x < width; ++x) {
            // An icon's black stands for "nothing here".
            const std::uint32_t pixel = row[x / factor] & 0x00FFFFFFu;
            argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                pixel ? 0xFF000000u | pixel : 0u;
        }
    }
    backend().set_icon(argb.data(), width, height);
}

}  // namespace platform
