// Invalid areas, WM_PAINT, and the device contexts of windows.
#include "window/paint.h"

#include "gdi/window_dc.h"
#include "platform/window.h"

using namespace platform;

namespace {

Rect client_of(const Window& w) { return {0, 0, w.rect.width(), w.rect.height()}; }

const Window* first_to_paint(const Window& w, HWND filter) {
    if (!w.visible || w.destroying) return nullptr;
    if (!w.invalid.empty() && (!filter || filter == w.handle)) return &w;
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
        if (const Window* child = find_window(*it))
            if (const Window* found = first_to_paint(*child, filter)) return found;
    return nullptr;
}

}  // namespace

namespace platform {

void invalidate(Window& window, const Rect& area, bool erase) {
    const Rect clipped = intersect(area, client_of(window));
    if (clipped.empty()) return;
    window.invalid = unite(window.invalid, clipped);
    window.erase_pending = window.erase_pending || erase;
}

bool take_paint_message(MSG* message, HWND filter) {
    const auto& z = window_table().z_order;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        const Window* top = find_window(*it);
        if (const Window* w = top ? first_to_paint(*top, filter) : nullptr) {
            *message = {w->handle, WM_PAINT, 0, 0, 0, {0, 0}};
            return true;
        }
    }
    return false;
}

}  // namespace platform

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    invalidate(*w, rect ? rect_from(*rect) : client_of(*w), erase != FALSE);
    return TRUE;
}

BOOL UpdateWindow(HWND handle) {
    const Window* w = find_window(handle);
    if (!w) return FALSE;
    if (shown_on_screen(*w) && !w->invalid.empty()) SendMessageW(handle, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* w = find_window(handle);
    if (!w || !paint) return nullptr;
    const Rect area = w->invalid;
    const bool erase = w->erase_pending;
    w->invalid = {};
    w->erase_pending = false;
    *paint = {};
    paint->hdc = dc_open_window(handle, &area);
    paint->rcPaint = to_RECT(area);
    if (erase && paint->hdc)
        paint->fErase = SendMessageW(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) ? FALSE : TRUE;
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) { return paint && dc_close_window(paint->hdc) ? TRUE : FALSE; }

HDC GetDC(HWND handle) {
    if (handle && !find_window(handle)) return nullptr;
    return dc_open_window(handle, nullptr);
}

int ReleaseDC(HWND handle, HDC dc) { return dc_is_window_dc(dc, handle) && dc_close_window(dc) ? 1 : 0; }
