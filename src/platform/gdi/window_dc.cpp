#include "gdi/window_dc.h"

#include "core/handles.h"
#include "gdi/objects.h"

namespace platform {

HDC dc_open_window(HWND window, const Rect* clip) {
    auto dc = std::make_unique<gdi::DC>();
    dc->window = true;
    dc->hwnd = window;
    if (clip) {
        dc->clipped = true;
        dc->clip = *clip;
    }
    return gdi::add_dc(std::move(dc));
}

bool dc_is_window_dc(HDC dc, HWND window) {
    const gdi::DC* found = gdi::find_dc(dc);
    return found && found->window && found->hwnd == window;
}

bool dc_close_window(HDC dc) {
    const gdi::DC* found = gdi::find_dc(dc);
    if (!found || !found->window) return false;
    gdi::remove_dc(dc);
    return true;
}

}  // namespace platform
