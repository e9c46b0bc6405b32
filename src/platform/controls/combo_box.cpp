// COMBOBOX with CBS_DROPDOWNLIST: a field showing the chosen item and a button that drops the list
// of items below it (or above, where the screen ends). Items carry a value beside their label and
// stay where they were inserted.
#include <algorithm>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/control_state.h"
#include "controls/draw.h"
#include "controls/press_tracker.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "window/modal_loop.h"
#include "window/window_table.h"

namespace platform {
namespace {

struct Item {
    std::wstring label;
    LPARAM data = 0;
};

struct ComboState {
    HFONT font = nullptr;
    std::vector<Item> items;
    int selection = -1;
    int list_height = 0;  // the template's height: that of the dropped list
    HWND list = nullptr;  // while dropped
    ModalLoop* loop = nullptr;
    PressTracker list_press;  // in the dropped list; a release there after a press picks
    int highlight = -1;   // the item under the pen or the arrow keys in the dropped list
    int scale = 1;        // that of the dialog the box stands in
};

// The dropped list's extra bytes hold its box, from the list's first message on.
HWND combo_of_list(HWND list) { return reinterpret_cast<HWND>(GetWindowLongPtrW(list, 0)); }

int line_height(HFONT font) {
    int height = 13;
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        RECT r{0, 0, 0, 0};
        if (DrawTextW(dc, L"Ag", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX) > 0) height = r.bottom - r.top;
        if (old) SelectObject(dc, old);
        DeleteDC(dc);
    }
    return height;
}

void close_list(ComboState& s) {
    if (s.loop) s.loop->end();
}

int item_height(const ComboState& s) { return line_height(s.font) + 2 * s.scale; }

bool valid_index(const ComboState& s, WPARAM index) { return index < s.items.size(); }

void notify(HWND combo, WORD code) {
    const Window* w = find_window(combo);
    if (!w) return;
    SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(combo)), code), reinterpret_cast<LPARAM>(combo));
}

void choose(HWND combo, ComboState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.items.size()) || index == s.selection) return;
    s.selection = index;
    InvalidateRect(combo, nullptr, TRUE);
    notify(combo, CBN_SELCHANGE);
}

void draw_label(HDC dc, const ComboState& s, const std::wstring& label, RECT r) {
    r.left += 2 * s.scale;
    const HGDIOBJ old = s.font ? SelectObject(dc, s.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, label.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (old) SelectObject(dc, old);
}

void paint_field(HWND combo, const ComboState& s) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(combo, &ps);
    if (dc) {
        RECT client;
        GetClientRect(combo, &client);
        const int line = s.scale;
        const int button = std::min<int>(client.bottom, client.right / 2);
        RECT field = {0, 0, client.right - button, client.bottom};
        FillRect(dc, &field, control_brush(GetParent(combo), WM_CTLCOLOREDIT, dc));
        if (GetFocus() == combo) draw::frame(dc, {line, line, field.right, field.bottom - line}, GetTextColor(dc), line);
        if (s.selection >= 0) draw_label(dc, s, s.items[static_cast<std::size_t>(s.selection)].label, field);

        const RECT arrow_box = {client.right - button, 0, client.right, client.bottom};
        FillRect(dc, &arrow_box, control_brush(GetParent(combo), WM_CTLCOLORBTN, dc));
        const COLORREF ink = GetTextColor(dc);
        const int size = std::max(1, button / 4);
        const int cx = (arrow_box.left + arrow_box.right) / 2;
        const int top = (client.bottom - size) / 2;
        for (int row = 0; row < size; ++row)
            draw::fill(dc, {cx - (size - row), top + row, cx + (size - row), top + row + 1}, ink);
        draw::frame(dc, client, RGB(0, 0, 0), line);
    }
    EndPaint(combo, &ps);
}

// The dropped list: a popup above everything, which closes on a pick, on a tap outside it, or on
// Escape, and never outlives its loop. Dropped by a press on the box, it picks on that press's
// release over an item.
void drop(HWND combo, ComboState& s, bool by_pen) {
    if (s.list || s.items.empty()) return;
    RECT field;
    GetWindowRect(combo, &field);
    const int screen_height = has_backend() ? backend().screen_height() : field.bottom;
    const int rows_wanted = static_cast<int>(s.items.size()) * item_height(s) + 2 * s.scale;
    const int room_below = screen_height - field.bottom;
    const int height =
        std::min({rows_wanted, std::max(s.list_height, item_height(s)), std::max(room_below, static_cast<int>(field.top))});
    const int top = room_below >= height ? field.bottom : field.top - height;
    s.highlight = s.selection;
    Window* w = find_window(combo);
    s.list = CreateWindowExW(WS_EX_TOPMOST, kComboListClass, L"", WS_POPUP, field.left, top, field.right - field.left, height,
                             w ? top_level_of(*w).handle : nullptr, nullptr, nullptr, combo);
    if (!s.list) return;
    const HWND list = s.list;
    ShowWindow(list, SW_SHOW);
    SetCapture(list);
    s.list_press = {};
    if (by_pen) s.list_press.follow(list, WM_LBUTTONDOWN, true);
    ModalLoop loop(nullptr);
    s.loop = &loop;
    loop.run(list, [list](const MSG& msg) {
        if (msg.message != WM_KEYDOWN) return false;
        SendMessageW(list, WM_KEYDOWN, msg.wParam, msg.lParam);
        return true;
    });
    if (GetCapture() == list) ReleaseCapture();
    DestroyWindow(list);
    // The box may have gone while its list was open.
    if (ComboState* still = control_state<ComboState>(combo)) {
        still->loop = nullptr;
        still->list = nullptr;
        InvalidateRect(combo, nullptr, TRUE);
    }
}

int item_at(const ComboState& s, LPARAM position) {
    const int y = GET_Y_LPARAM(position) - s.scale;
    return y < 0 ? -1 : y / item_height(s);
}

void paint_list(HWND list, const ComboState& s, HWND combo) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(list, &ps);
    if (dc) {
        RECT client;
        GetClientRect(list, &client);
        FillRect(dc, &client, control_brush(GetParent(combo), WM_CTLCOLORLISTBOX, dc));
        const COLORREF text = GetTextColor(dc);
        const COLORREF paper = GetBkColor(dc);
        const int line = s.scale;
        for (std::size_t i = 0; i < s.items.size(); ++i) {
            const int top = line + static_cast<int>(i) * item_height(s);
            const RECT r = {line, top, client.right - line, top + item_height(s)};
            if (static_cast<int>(i) == s.highlight) {
                // The highlighted item shows in the list's colours swapped.
                draw::fill(dc, r, text);
                SetTextColor(dc, paper);
                draw_label(dc, s, s.items[i].label, r);
                SetTextColor(dc, text);
            } else {
                draw_label(dc, s, s.items[i].label, r);
            }
        }
        draw::frame(dc, client, RGB(0, 0, 0), line);
    }
    EndPaint(list, &ps);
}

void list_key(HWND list, HWND combo, ComboState& s, WPARAM key) {
    const int last = static_cast<int>(s.items.size()) - 1;
    switch (key) {
    case VK_UP: s.highlight = std::max(0, s.highlight - 1); break;
    case VK_DOWN: s.highlight = std::min(last, s.highlight + 1); break;
    case VK_HOME: s.highlight = 0; break;
    case VK_END: s.highlight = last; break;
    case VK_RETURN:
        choose(combo, s, s.highlight);
        close_list(s);
        return;
    case VK_ESCAPE:
    case VK_TAB:
        close_list(s);
        return;
    default: return;
    }
    InvalidateRect(list, nullptr, FALSE);
}

}  // namespace

LRESULT combo_list_proc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(list, 0, reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    const HWND combo = combo_of_list(list);
    ComboState* state = control_state<ComboState>(combo);
    if (!state || state->list != list) return DefWindowProcW(list, message, wParam, lParam);
    ComboState& s = *state;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
        const bool inside = lies_in_client(list, lParam);
        if (message == WM_LBUTTONDOWN && !inside) {
            close_list(s);  // a tap outside the list leaves the choice as it was
            return 0;
        }
        if (inside && (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE)) {
            s.highlight = std::min(item_at(s, lParam), static_cast<int>(s.items.size()) - 1);
            InvalidateRect(list, nullptr, FALSE);
        }
        if (s.list_press.follow(list, message, inside) == Press::Activated) {
            choose(combo, s, item_at(s, lParam));
            close_list(s);
        }
        return 0;
    }
    case WM_KEYDOWN:
        list_key(list, combo, s, wParam);
        return 0;
    case WM_PAINT:
        paint_list(list, s, combo);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(list, message, wParam, lParam);
    }
}

LRESULT combo_box_proc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        ComboState& s = create_control_state<ComboState>(combo);
        if (const Window* w = find_window(combo)) s.list_height = w->rect.height();
        s.scale = scale_of(combo);
        return 0;
    }
    ComboState* state = control_state<ComboState>(combo);
    if (!state) return DefWindowProcW(combo, message, wParam, lParam);
    ComboState& s = *state;
    switch (message) {
    case WM_DESTROY:
        close_list(s);
        free_control_state<ComboState>(combo);
        return 0;
    case WM_SETFONT: {
        s.font = reinterpret_cast<HFONT>(wParam);
        // Closed, the box is one item high; the template's height is the dropped list's.
        if (const Window* w = find_window(combo))
            MoveWindow(combo, w->rect.left, w->rect.top, w->rect.width(), item_height(s) + 2 * s.scale, TRUE);
        return 0;
    }
    case CB_INSERTSTRING: {
        const auto index = static_cast<std::ptrdiff_t>(wParam);
        if (index > static_cast<std::ptrdiff_t>(s.items.size())) return CB_ERR;
        const std::wstring label = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        const std::size_t at = index < 0 ? s.items.size() : static_cast<std::size_t>(index);
        s.items.insert(s.items.begin() + static_cast<std::ptrdiff_t>(at), {label, 0});
        if (s.selection >= static_cast<int>(at)) ++s.selection;
        return static_cast<LRESULT>(at);
    }
    case CB_SETITEMDATA: {
        if (!valid_index(s, wParam)) return CB_ERR;
        s.items[wParam].data = lParam;
        return TRUE;
    }
    case CB_GETITEMDATA: {
        return valid_index(s, wParam) ? s.items[wParam].data : CB_ERR;
    }
    case CB_GETCOUNT:
        return static_cast<LRESULT>(s.items.size());
    case CB_SETCURSEL: {
        s.selection = valid_index(s, wParam) ? static_cast<int>(wParam) : -1;
        InvalidateRect(combo, nullptr, TRUE);
        return s.selection < 0 ? CB_ERR : s.selection;
    }
    case CB_GETCURSEL:
        return s.selection < 0 ? CB_ERR : s.selection;
    case WM_LBUTTONDOWN:
        SetFocus(combo);
        drop(combo, s, true);
        return 0;
    case WM_KEYDOWN: {
        if (wParam == VK_UP) choose(combo, s, std::max(0, s.selection - 1));
        else if (wParam == VK_DOWN) choose(combo, s, s.selection + 1);
        else if (wParam == VK_SPACE) drop(combo, s, false);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(combo, nullptr, TRUE);
        return 0;
    case WM_PAINT:
        paint_field(combo, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(combo, message, wParam, lParam);
    }
}

}  // namespace platform
