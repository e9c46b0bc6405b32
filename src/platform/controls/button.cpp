#include "controls/button.h"

#include <string>

#include "controls/control_kit.h"
#include "controls/draw.h"
#include "controls/press_tracker.h"
#include "platform/controls.h"
#include "platform/gdi.h"

namespace platform {
namespace {

// The state: the pen's press, and Space held down while the button has the focus.
constexpr LONG_PTR kSpaceHeld = LONG_PTR{1} << 8;

struct ButtonState {
    PressTracker pen;
    bool space_held = false;

    bool pushed() const { return pen.pushed() || space_held; }
};

ButtonState state_of(HWND w) {
    const LONG_PTR bits = GetWindowLongPtrW(w, kButtonStateOffset);
    return {PressTracker::from_bits(bits & ~kSpaceHeld), (bits & kSpaceHeld) != 0};
}

void set_state(HWND w, const ButtonState& state) {
    const bool was_pushed = state_of(w).pushed();
    SetWindowLongPtrW(w, kButtonStateOffset, state.pen.to_bits() | (state.space_held ? kSpaceHeld : 0));
    if (state.pushed() != was_pushed) InvalidateRect(w, nullptr, FALSE);
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
        RECT label = draw::button_face(dc, client, state_of(w).pushed(), is_default, line);
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
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
        ButtonState state = state_of(w);
        const Press press = state.pen.follow(w, message, lies_in_client(w, lParam));
        set_state(w, state);
        if (press == Press::Began) SetFocus(w);
        if (press == Press::Activated) click(w);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) set_state(w, {state_of(w).pen, true});
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state_of(w).space_held) {
            set_state(w, {state_of(w).pen, false});
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
        if (!wParam) {  // a disabled button is let go of
            ButtonState state = state_of(w);
            state.pen.cancel(w);
            set_state(w, {state.pen, false});
        }
        InvalidateRect(w, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS) set_state(w, {state_of(w).pen, false});
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
