// Full-screen mode and the navigation bar. Each top-level window keeps its own full-screen state;
// the bar across the top of the screen follows the active window: shown when that window shows
// the task bar, or when it is a dialog given the done button, whose OK there is its way out. The
// bar holds the title SHSetNavBarText gave and, for such a dialog, an OK that sends it IDOK. The
// bar spans the screen, but its title and OK stand over the device-sized layout it belongs to.
#include <algorithm>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/draw.h"
#include "controls/press_tracker.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/shell.h"
#include "platform/window.h"
#include "shell/shell_strips.h"
#include "window/activation.h"
#include "testing.h"
#include "window/window_table.h"

namespace platform {
namespace {

constexpr COLORREF kBarColour = RGB(0, 0, 128);
constexpr COLORREF kBarText = RGB(255, 255, 255);

struct FullScreenState {
    bool task_bar = false;
    bool done_button = false;
};

struct NavigationBar {
    HWND window = nullptr;
    std::wstring title;
    std::map<HWND, FullScreenState> states;  // by top-level window
    HWND serving = nullptr;  // the dialog whose OK the bar shows, if any
    PressTracker ok_press;
    HFONT font = nullptr;
};

NavigationBar bar;

HWND top_level(HWND window) {
    Window* w = find_window(window);
    return w ? top_level_of(*w).handle : nullptr;
}

// A window that never set its own state shows the bars as its owner does.
FullScreenState state_of(HWND window) {
    for (const Window* w = find_window(window); w; w = find_window(w->owner)) {
        const auto it = bar.states.find(w->handle);
        if (it != bar.states.end()) return it->second;
    }
    return {};
}

RECT ok_rect() {
    RECT client{};
    GetClientRect(bar.window, &client);
    const int scale = fitted_scale();
    const int inset = 3 * scale;
    const int width = 36 * scale;
    const int right = std::min(static_cast<int>(client.right), fitted_area().right);
    return {right - width - inset, inset, right - inset, client.bottom - inset};
}

void paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(bar.window, &ps);
    if (dc) {
        RECT client;
        GetClientRect(bar.window, &client);
        draw::fill(dc, client, kBarColour);
        const HGDIOBJ old = bar.font ? SelectObject(dc, bar.font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kBarText);
        const Rect area = fitted_area();
        RECT title = {area.left + 6 * fitted_scale(), 0, bar.serving ? ok_rect().left : area.right, client.bottom};
        DrawTextW(dc, bar.title.c_str(), -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (bar.serving) {
            RECT ok = ok_rect();
            draw::fill(dc, ok, bar.ok_press.pushed() ? kBarText : kBarColour);
            draw::frame(dc, ok, kBarText, fitted_scale());
            SetTextColor(dc, bar.ok_press.pushed() ? kBarColour : kBarText);
            DrawTextW(dc, L"OK", -1, &ok, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (old) SelectObject(dc, old);
    }
    EndPaint(bar.window, &ps);
}

bool on_ok(LPARAM position) { return bar.serving && lies_in(ok_rect(), position); }

}  // namespace

LRESULT navigation_bar_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
        const Press press = bar.ok_press.follow(window, message, on_ok(lParam));
        if (press != Press::Ignored) InvalidateRect(window, nullptr, FALSE);
        if (press == Press::Activated && IsWindow(bar.serving)) SendMessageW(bar.serving, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

namespace {

bool make_bar() {
    if (IsWindow(bar.window)) return true;
    if (!has_backend()) return false;
    if (!bar.font) {
        LOGFONTW lf{};
        lf.lfHeight = -13 * fitted_scale();
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, L"Swiss", ARRAYSIZE(lf.lfFaceName));
        bar.font = CreateFontIndirectW(&lf);
    }
    bar.window = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kNavigationBarClass, L"", WS_POPUP, 0, 0, backend().screen_width(), strip_height(),
                                 nullptr, nullptr, nullptr, nullptr);
    return bar.window != nullptr;
}

// Shows or hides the bar for the window now active.
void follow_active_window() {
    std::erase_if(bar.states, [](const auto& entry) { return !find_window(entry.first); });
    const HWND active = GetActiveWindow();
    if (active && active == bar.window) return;
    const FullScreenState state = state_of(active);
    const HWND serving = state.done_button ? active : nullptr;
    if (!active || !(state.task_bar || state.done_button)) {
        if (IsWindow(bar.window)) ShowWindow(bar.window, SW_HIDE);
        bar.serving = nullptr;
        return;
    }
    if (!make_bar()) return;
    bar.serving = serving;
    bar.ok_press.cancel(bar.window);
    InvalidateRect(bar.window, nullptr, TRUE);
    ShowWindow(bar.window, SW_SHOWNA);
}

void listen_to_activation() {
    static const bool listening = [] {
        set_activation_listener(follow_active_window);
        return true;
    }();
    (void)listening;
}

}  // namespace

int strip_height() { return 26 * fitted_scale(); }

bool navigation_bar_ok(HWND* bar_window, RECT* ok_on_screen) {
    if (!IsWindow(bar.window) || !IsWindowVisible(bar.window) || !bar.serving) return false;
    if (bar_window) *bar_window = bar.window;
    if (ok_on_screen) {
        RECT place;
        GetWindowRect(bar.window, &place);
        const RECT ok = ok_rect();
        *ok_on_screen = {place.left + ok.left, place.top + ok.top, place.left + ok.right, place.top + ok.bottom};
    }
    return true;
}

const std::wstring& navigation_bar_title() { return bar.title; }

}  // namespace platform

using namespace platform;

BOOL SHFullScreen(HWND window, DWORD state) {
    const HWND top = top_level(window);
    if (!top) return FALSE;
    listen_to_activation();
    FullScreenState& s = bar.states[top];
    if (state & SHFS_SHOWTASKBAR) s.task_bar = true;
    if (state & SHFS_HIDETASKBAR) s.task_bar = false;
    follow_active_window();
    return TRUE;
}

// There is one navigation bar, whoever asks; the requester is not needed to find it.
BOOL SHSetNavBarText(HWND, LPCWSTR text) {
    if (!text) return FALSE;
    bar.title = text;
    if (IsWindow(bar.window)) InvalidateRect(bar.window, nullptr, TRUE);
    return TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info || !(info->dwMask & SHIDIM_FLAGS) || !has_backend()) return FALSE;
    Window* dialog = find_window(info->hDlg);
    if (!dialog || dialog->is_child()) return FALSE;
    listen_to_activation();
    if (info->dwFlags & SHIDIF_SIZEDLGFULLSCREEN) {
        // The whole screen below the navigation bar, with the controls, laid out for the device's
        // screen, in the middle of it.
        const int top = strip_height();
        MoveWindow(info->hDlg, 0, top, backend().screen_width(), std::max(0, backend().screen_height() - top), TRUE);
        const Rect area = fitted_area();
        for (HWND control : std::vector<HWND>(dialog->children))
            if (const Window* c = find_window(control))
                MoveWindow(control, c->rect.left + area.left, c->rect.top + area.top, c->rect.width(), c->rect.height(),
                           FALSE);
    }
    if (info->dwFlags & SHIDIF_DONEBUTTON) {
        FullScreenState& s = bar.states[info->hDlg];
        s = state_of(info->hDlg);
        s.done_button = true;
    }
    follow_active_window();
    return TRUE;
}
