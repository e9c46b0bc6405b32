#include "controls/button.h"

#include <string>

#include "controls/control_kit.h"
#include "controls/draw.h"
#include "platform/controls.h"
#include "platform/gdi.h"

namespace platform {
namespace {

// State bits.
constexpr LONG_PTR kTracking = 1;  // the pointer went down on it and has not been let go
constexpr LONG_PTR kPressed = 2;   // drawn pushed in

LONG_PTR state_of(HWND w) { return GetWindowLongPtrW(w, kButtonStateOffset); }

void set_state(HWND w, LONG_PTR state) {
    if (SetWindowLongPtrW(w, kButtonStateOffset, state) != state) InvalidateRect(w, nullptr, FALSE);
}

bool inside(HWND w, LPARAM position) {
    RECT client;
    GetClientRect(w, &client);
    // Client coordinates travel as 16-bit values: a point left of or above the button is negative.
    const int x = static_cast<short>(LOWORD(static_cast<std::uintptr_t>(position)));
    const int y = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(position)));
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

void click(HWND w) {
    SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(w)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w));
}

void paint(HWND w) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(w, &ps);
    if (dc) {
        RECT client;
        GetClientRect(w, &client);
        const int line = draw::line_width(w);
        const bool is_default = (GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        RECT label = draw::button_face(dc, client, (state_of(w) & kPressed) != 0, is_default, line);
        const int length = static_cast<int>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(w, text.data(), length + 1);
        const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(w, kButtonFontOffset));
        const HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled(w) ? draw::kDark : draw::kShadow);
        DrawTextW(dc, text.c_str(), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (old_font) SelectObject(dc, old_font);
        if (GetFocus() == w) draw::focus_mark(dc, draw::inset(label, line), line);
    }
    EndPaint(w, &ps);
}

}  // namespace

LRESULT button_proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) return group_box_proc(w, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: paint(w); return 0;
    case WM_LBUTTONDOWN:
        SetFocus(w);
        SetCapture(w);
        set_state(w, kTracking | kPressed);
        return 0;
    case WM_MOUSEMOVE:
        if (state_of(w) & kTracking) set_state(w, kTracking | (inside(w, lParam) ? kPressed : 0));
        return 0;
    case WM_LBUTTONUP: {
        const LONG_PTR state = state_of(w);
        if (!(state & kTracking)) return 0;
        ReleaseCapture();
        set_state(w, 0);
        if (inside(w, lParam)) click(w);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) set_state(w, kPressed);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (state_of(w) & kPressed)) {
            set_state(w, 0);
            click(w);
        }
        return 0;
    case BM_CLICK: click(w); return 0;
    case WM_SETFONT:
        SetWindowLongPtrW(w, kButtonFontOffset, static_cast<LONG_PTR>(wParam));
        if (lParam) InvalidateRect(w, nullptr, FALSE);
        return 0;
    case WM_GETFONT: return GetWindowLongPtrW(w, kButtonFontOffset);
    case WM_ENABLE:
        if (!wParam) set_state(w, 0);  // a disabled button is let go of
        InvalidateRect(w, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS && !(state_of(w) & kTracking)) set_state(w, 0);
        InvalidateRect(w, nullptr, FALSE);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(w, message, wParam, lParam);
        InvalidateRect(w, nullptr, FALSE);
        return result;
    }
    default: return DefWindowProcW(w, message, wParam, lParam);
    }
}

}  // namespace platform
