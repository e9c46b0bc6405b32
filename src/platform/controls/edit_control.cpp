// EDIT: one line of text the user types into, with a caret while it has the focus. ES_NUMBER takes
// digits only; there is no horizontal scrolling, so it holds only as many characters as fit.
#include <string>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/control_state.h"
#include "controls/draw.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/system.h"
#include "platform/window.h"
#include "window/window_table.h"

namespace platform {
namespace {

struct EditState {
    HFONT font = nullptr;
};

int border_of(const Window& w) { return (w.style & WS_BORDER) ? scale_of(w.handle) : 0; }
int margin_of(const Window& w) { return border_of(w) + scale_of(w.handle); }

int text_width(HFONT font, const std::wstring& text) {
    int width = 0;
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        RECT r{0, 0, 0, 0};
        if (DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX) > 0) width = r.right - r.left;
        if (old) SelectObject(dc, old);
        DeleteDC(dc);
    }
    return width;
}

// The text with the caret's width still fits between the margins.
bool fits(const Window& w, HFONT font, const std::wstring& text) {
    return text_width(font, text) + scale_of(w.handle) <= w.rect.width() - 2 * margin_of(w);
}

void type_character(HWND window, const EditState& s, wchar_t c) {
    Window* w = find_window(window);
    if (!w) return;
    std::wstring text = w->text + c;
    if (c < L' ' || ((w->style & ES_NUMBER) && (c < L'0' || c > L'9')) || !fits(*w, s.font, text)) {
        MessageBeep(MB_OK);
        return;
    }
    SetWindowTextW(window, text.c_str());
}

void erase_character(HWND window) {
    Window* w = find_window(window);
    if (!w || w->text.empty()) return;
    std::wstring text = w->text;
    text.pop_back();
    SetWindowTextW(window, text.c_str());
}

void paint(HWND window, const EditState& s) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    const Window* w = find_window(window);
    if (dc && w) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, control_brush(GetParent(window), WM_CTLCOLOREDIT, dc));
        if (const int border = border_of(*w)) draw::frame(dc, client, RGB(0, 0, 0), border);
        const int margin = margin_of(*w);
        RECT text = {client.left + margin, client.top + border_of(*w), client.right - margin,
                     client.bottom - border_of(*w)};
        const bool right = (w->style & ES_RIGHT) != 0;
        const int line = scale_of(window);
        const int caret = GetFocus() == window ? line : 0;
        if (right) text.right -= caret;
        const HGDIOBJ old = s.font ? SelectObject(dc, s.font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, w->text.c_str(), -1, &text,
                  (right ? DT_RIGHT : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (caret) {
            const int x = right ? text.right : text.left + text_width(s.font, w->text);
            draw::fill(dc, {x, text.top + line, x + caret, text.bottom - line}, GetTextColor(dc));
        }
        if (old) SelectObject(dc, old);
    }
    EndPaint(window, &ps);
}

}  // namespace

int edit_width_for(HWND edit, const std::wstring& text) {
    const Window* w = find_window(edit);
    const EditState* s = control_state<EditState>(edit);
    if (!w || !s) return 0;
    return text_width(s->font, text) + scale_of(edit) + 2 * margin_of(*w);
}

LRESULT edit_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        create_control_state<EditState>(window);
        return 0;
    }
    EditState* s = control_state<EditState>(window);
    if (!s) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        free_control_state<EditState>(window);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_SETTEXT: {
        const LRESULT done = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return done;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        return 0;
    case WM_CHAR:
        // Backspace comes as its key; the character it may also make is not a character to type.
        if (wParam != VK_BACK) type_character(window, *s, static_cast<wchar_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_BACK) erase_character(window);
        return 0;
    case WM_PAINT:
        paint(window, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace platform
