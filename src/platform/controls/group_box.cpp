// BUTTON with BS_GROUPBOX: a frame with a caption round a group of controls. It takes no input,
// so taps inside it reach the controls it frames.
#include "backend/backend.h"
#include "controls/button.h"
#include "controls/control_kit.h"
#include "controls/draw.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "window/window_table.h"

namespace platform {
namespace {

void paint(HWND window) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    const Window* w = find_window(window);
    if (dc && w) {
        RECT client;
        GetClientRect(window, &client);
        const HBRUSH ground = control_brush(GetParent(window), WM_CTLCOLORSTATIC, dc);
        const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(window, kButtonFontOffset));
        const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        RECT caption = {0, 0, 0, 0};
        DrawTextW(dc, w->text.c_str(), -1, &caption, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int line = scale_of(window);
        const int middle = (caption.bottom - caption.top) / 2;
        draw::frame(dc, {0, middle, client.right, client.bottom}, RGB(0, 0, 0), line);
        if (!w->text.empty()) {
            // The caption interrupts the top edge, on the dialog's ground.
            RECT r = {4 * line, 0, 4 * line + caption.right - caption.left + 2 * line, caption.bottom - caption.top};
            FillRect(dc, &r, ground);
            r.left += line;
            DrawTextW(dc, w->text.c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (old) SelectObject(dc, old);
    }
    EndPaint(window, &ps);
}

}  // namespace

LRESULT group_box_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        EnableWindow(window, FALSE);
        return 0;
    case WM_SETFONT:
        SetWindowLongPtrW(window, kButtonFontOffset, static_cast<LONG_PTR>(wParam));
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace platform
