// SHCreateMenuBar: the strip at the bottom of the screen that belongs to a window. Only the empty
// bar is made; the window it serves gives up the strip's height.
#include <algorithm>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/draw.h"
#include "platform/gdi.h"
#include "platform/shell.h"
#include "platform/window.h"
#include "shell/shell_strips.h"
#include "testing.h"
#include "window/window_table.h"

namespace platform {
namespace {

bool menu_bars_available = true;

}  // namespace

LRESULT menu_bar_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    if (const HDC dc = BeginPaint(window, &ps)) {
        RECT client;
        GetClientRect(window, &client);
        draw::fill(dc, client, RGB(192, 192, 192));
        draw::fill(dc, {0, 0, client.right, fitted_scale()}, RGB(128, 128, 128));
    }
    EndPaint(window, &ps);
    return 0;
}

void set_menu_bars_available(bool available) { menu_bars_available = available; }

}  // namespace platform

using namespace platform;

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (!info || info->cbSize != sizeof(SHMENUBARINFO) || !(info->dwFlags & SHCMBF_EMPTYBAR) || !has_backend() ||
        !menu_bars_available)
        return FALSE;
    Window* parent = find_window(info->hwndParent);
    if (!parent) return FALSE;
    Window& top = top_level_of(*parent);
    const int screen_height = backend().screen_height();
    const int bar_top = screen_height - strip_height();
    const HWND menu_bar = CreateWindowExW(WS_EX_NOACTIVATE, kMenuBarClass, L"", WS_POPUP, 0, bar_top, backend().screen_width(),
                                          strip_height(), top.handle, nullptr, info->hInstRes, nullptr);
    if (!menu_bar) return FALSE;
    if (top.rect.bottom > bar_top)
        MoveWindow(top.handle, top.rect.left, top.rect.top, top.rect.width(),
                   std::max(0, bar_top - static_cast<int>(top.rect.top)), TRUE);
    ShowWindow(menu_bar, SW_SHOWNA);
    info->hwndMB = menu_bar;
    return TRUE;
}
