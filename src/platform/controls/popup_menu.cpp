// Popup menus. CreatePopupMenu and AppendMenuW build a menu object behind a checked handle;
// TrackPopupMenuEx shows it in the topmost band and runs the shared modal loop until an item is
// picked or the menu is dismissed. Items are as tall as a finger needs while all of them fit the
// screen.
#include "controls/popup_menu.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "controls/draw.h"
#include "controls/press_tracker.h"
#include "core/handles.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "testing.h"
#include "window/modal_loop.h"
#include "window/window_table.h"

using namespace platform;

namespace {

constexpr int kFingerHeight = 32;  // an item's height at scale 1 when the screen has room
constexpr int kTextHeight = 15;
constexpr int kBorderLines = 2;  // the raised edge around the menu
constexpr int kMinWidthInItems = 4;

struct Item {
    bool separator;
    UINT_PTR id;
    std::wstring text;
};

struct Menu {
    std::vector<Item> items;
};

HandleTable<Menu>& menus() {
    static HandleTable<Menu> table{HandleKind::Menu};
    return table;
}

// The one menu being tracked: its own copy of the items, where they stand and how it is used.
struct Tracking {
    HWND window = nullptr;
    std::vector<Item> items;
    std::vector<RECT> places;  // client coordinates, one per item
    int width = 0;
    int height = 0;
    int border = 0;
    int highlight = -1;
    PressTracker press;  // a press the menu saw, whose release counts
    int picked = -1;
    HFONT font = nullptr;
    ModalLoop* loop = nullptr;
};

Tracking* tracking = nullptr;

HFONT make_font(int height) {
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfFaceName[0] = L'\0';
    const wchar_t face[] = L"Swiss";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    return CreateFontIndirectW(&lf);
}

int text_width(HFONT font, const std::wstring& text) {
    RECT r{0, 0, 0, 0};
    int width = 0;
    if (const HDC dc = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, font);
        if (DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX) > 0) width = r.right - r.left;
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    return width;
}

// Items as tall as a finger needs, or shorter so that all of them fit the screen's height; a
// separator takes a third of an item.
void lay_out(Tracking& t, int scale, int screen_width, int screen_height) {
    t.border = kBorderLines * scale;
    int items = 0;
    int separators = 0;
    for (const Item& item : t.items) (item.separator ? separators : items) += 1;
    const int room = std::max(0, screen_height - 2 * t.border);
    const int fitting = 3 * items + separators > 0 ? 3 * room / (3 * items + separators) : 0;
    const int item_height = std::max(1, std::min(kFingerHeight * scale, fitting));
    const int separator_height = std::max(1, item_height / 3);

    t.font = make_font(std::min(kTextHeight * scale, item_height * 2 / 3));
    const int padding = item_height / 2;
    int widest = 0;
    for (const Item& item : t.items)
        if (!item.separator) widest = std::max(widest, text_width(t.font, item.text));
    t.width = std::min(screen_width, std::max(kMinWidthInItems * item_height, widest + 2 * padding) + 2 * t.border);

    int top = t.border;
    t.places.clear();
    for (const Item& item : t.items) {
        const int h = item.separator ? separator_height : item_height;
        t.places.push_back({t.border, top, t.width - t.border, top + h});
        top += h;
    }
    t.height = std::min(screen_height, top + t.border);
}

int item_at(const Tracking& t, LPARAM position) {
    for (std::size_t i = 0; i < t.places.size(); ++i)
        if (lies_in(t.places[i], position)) return t.items[i].separator ? -1 : static_cast<int>(i);
    return -1;
}

void set_highlight(Tracking& t, int index) {
    if (index == t.highlight) return;
    if (t.highlight >= 0) InvalidateRect(t.window, &t.places[static_cast<std::size_t>(t.highlight)], FALSE);
    t.highlight = index;
    if (index >= 0) InvalidateRect(t.window, &t.places[static_cast<std::size_t>(index)], FALSE);
}

// The next item up or down from the highlight, round the ends, passing over separators.
void step_highlight(Tracking& t, int direction) {
    const int count = static_cast<int>(t.items.size());
    int index = t.highlight;
    for (int tried = 0; tried < count; ++tried) {
        index = index < 0 ? (direction > 0 ? 0 : count - 1) : (index + direction + count) % count;
        if (!t.items[static_cast<std::size_t>(index)].separator) {
            set_highlight(t, index);
            return;
        }
    }
}

// The first ending counts: the menu's own deactivation as it closes does not undo a pick.
void finish(Tracking& t, int picked) {
    if (t.loop->ended()) return;
    t.picked = picked;
    t.loop->end();
}

constexpr COLORREF kHighlight = RGB(0, 0, 128);

void paint(const Tracking& t, HDC dc) {
    const int line = draw::line_width(t.window);
    const RECT whole{0, 0, t.width, t.height};
    draw::fill(dc, whole, draw::kFace);
    draw::edge(dc, whole, draw::Edge::Raised, line);
    draw::edge(dc, draw::inset(whole, line), draw::Edge::Raised, line);

    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ old_font = SelectObject(dc, t.font);
    for (std::size_t i = 0; i < t.items.size(); ++i) {
        const Item& item = t.items[i];
        const RECT& r = t.places[i];
        if (item.separator) {
            const int middle = (r.top + r.bottom) / 2;
            draw::edge(dc, {r.left + line, middle - line, r.right - line, middle + line}, draw::Edge::Sunken, line);
            continue;
        }
        const bool lit = static_cast<int>(i) == t.highlight;
        draw::fill(dc, r, lit ? kHighlight : draw::kFace);
        SetTextColor(dc, lit ? draw::kLight : draw::kDark);
        const int padding = (r.bottom - r.top) / 2;
        RECT text{r.left + padding, r.top, r.right - padding, r.bottom};
        DrawTextW(dc, item.text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old_font);
}

// Frees the font and forgets the menu however tracking ends.
struct TrackingScope {
    Tracking& t;
    explicit TrackingScope(Tracking& tracked) : t(tracked) { tracking = &tracked; }
    ~TrackingScope() {
        tracking = nullptr;
        DeleteObject(t.font);
    }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;
};

}  // namespace

namespace platform {

LRESULT popup_menu_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tracking || tracking->window != window) return DefWindowProcW(window, message, wParam, lParam);
    Tracking& t = *tracking;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (const HDC dc = BeginPaint(window, &ps)) paint(t, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
        // Every press counts, beside the menu too: the menu holds the capture while it is open. A
        // release whose press the menu did not see (the hold that opened it) does nothing. A tap
        // outside ends the menu with its release, so no part of it is left to reach a window below.
        const Press press = t.press.follow(window, message, true);
        const int index = item_at(t, lParam);
        if (press == Press::Began || press == Press::Moved)
            set_highlight(t, index);
        else if (press == Press::Activated && index >= 0)
            finish(t, index);
        else if (press == Press::Activated && !lies_in_client(window, lParam))
            finish(t, -1);
        else if (press == Press::Activated || press == Press::Cancelled)
            set_highlight(t, -1);
        return 0;
    }
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_UP: step_highlight(t, -1); break;
        case VK_DOWN: step_highlight(t, 1); break;
        case VK_RETURN:
            if (t.highlight >= 0) finish(t, t.highlight);
            break;
        case VK_ESCAPE: finish(t, -1); break;
        default: break;
        }
        return 0;
    case WM_ACTIVATE:
        // Another program took the foreground: a menu does not wait for the user to come back.
        if (LOWORD(wParam) == WA_INACTIVE) finish(t, -1);
        return 0;
    case WM_CLOSE:
        finish(t, -1);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}


}  // namespace

namespace platform {

bool popup_menu_items(HWND window, std::vector<PopupMenuItem>* items) {
    RECT place;
    if (!tracking || tracking->window != window || !GetWindowRect(window, &place)) return false;
    if (items) {
        items->clear();
        for (std::size_t i = 0; i < tracking->items.size(); ++i) {
            const Item& item = tracking->items[i];
            const RECT& r = tracking->places[i];
            items->push_back({item.text, item.id, item.separator,
                              {place.left + r.left, place.top + r.top, place.left + r.right, place.top + r.bottom}});
        }
    }
    return true;
}

}  // namespace platform

HMENU CreatePopupMenu() { return as_handle<HMENU>(menus().add(std::make_unique<Menu>())); }

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    Menu* m = menus().find(raw(menu));
    if (!m || (flags & ~MF_SEPARATOR) != 0) return FALSE;
    const bool separator = (flags & MF_SEPARATOR) != 0;
    if (!separator && !text) return FALSE;
    m->items.push_back({separator, separator ? 0 : id, separator ? L"" : text});
    return TRUE;
}

BOOL DestroyMenu(HMENU menu) { return menus().remove(raw(menu)) ? TRUE : FALSE; }

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    const Menu* m = menus().find(raw(menu));
    if (!m || m->items.empty() || !IsWindow(owner) || params || tracking || !has_backend()) return FALSE;
    Tracking t;
    t.items = m->items;
    TrackingScope scope(t);
    const int screen_width = backend().screen_width();
    const int screen_height = backend().screen_height();
    lay_out(t, display_scale(), screen_width, screen_height);

    int left = (flags & TPM_CENTERALIGN) ? x - t.width / 2 : x;
    int top = (flags & TPM_VCENTERALIGN) ? y - t.height / 2 : y;
    left = std::clamp(left, 0, std::max(0, screen_width - t.width));
    top = std::clamp(top, 0, std::max(0, screen_height - t.height));

    ModalLoop loop(owner);
    t.loop = &loop;
    t.window = CreateWindowExW(WS_EX_TOPMOST, kPopupMenuClass, L"", WS_POPUP, left, top, t.width, t.height, owner,
                               nullptr, nullptr, nullptr);
    if (!t.window) return FALSE;
    ShowWindow(t.window, SW_SHOW);
    // Every tap goes to the menu while it is open, also one beside it: none reaches a window below.
    SetCapture(t.window);
    loop.run(t.window);
    if (GetCapture() == t.window) ReleaseCapture();
    DestroyWindow(t.window);
    const HWND top_owner = top_level_of(*find_window(owner)).handle;
    if (IsWindowVisible(top_owner) && GetActiveWindow() != top_owner) SetFocus(top_owner);
    if (t.picked < 0) return TRUE;
    // Posted, not sent: the owner handles it from its own loop, after whatever it does on return.
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(t.items[static_cast<std::size_t>(t.picked)].id), 0),
                 0);
    return TRUE;
}
