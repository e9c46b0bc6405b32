// msctls_updown32: two arrows that step a number up and down within a range, writing it into the
// buddy control beside it. A press steps once; held, it repeats. Up and Down in the buddy step it
// too (the dialog passes them on).
#include <algorithm>
#include <cstdlib>
#include <string>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/control_state.h"
#include "controls/draw.h"
#include "controls/press_tracker.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "window/window_table.h"

namespace platform {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 100;

struct UpDownState {
    HWND buddy = nullptr;
    int lower = 0;
    int upper = 100;
    int position = 0;
    int arrow = 0;  // the arrow pressed: +1 up, -1 down
    PressTracker press;
    int template_width = 0;
};

// The control created just before this one in the same parent.
HWND previous_sibling(const Window& w) {
    const Window* parent = find_window(w.parent);
    if (!parent) return nullptr;
    HWND previous = nullptr;
    for (HWND child : parent->children) {
        if (child == w.handle) return previous;
        previous = child;
    }
    return nullptr;
}

// The arrows are never narrower, and each never shorter, than this many pixels a scale step, so a
// finger still finds them beside a field drawn in a small font.
constexpr int kNarrowestArrows = 7;
constexpr int kShortestArrow = 10;

int digits_of(int value) {
    int digits = 1;
    for (value = std::abs(value); value >= 10; value /= 10) ++digits;
    return digits;
}

// Sits at the right edge of the room it shares with its buddy, as high as the buddy (or a little
// higher, centred on it, for a finger), and takes as much of the room as the buddy can spare: the
// buddy keeps the width of the range's longest number, so every number the arrows can write
// shows whole.
void fit_beside_buddy(HWND window, UpDownState& s) {
    Window* w = find_window(window);
    Window* buddy = find_window(s.buddy);
    if (!w || !buddy || !(w->style & UDS_ALIGNRIGHT)) return;
    const Rect b = buddy->rect;
    const int room = std::max(b.right, static_cast<int>(w->rect.right)) - b.left;
    const int longest = std::max(digits_of(s.lower), digits_of(s.upper));
    const int spare = room - edit_width_for(s.buddy, std::wstring(static_cast<std::size_t>(longest), L'0'));
    const int widest = std::min(s.template_width, room);
    const int width = std::clamp(spare, std::min(kNarrowestArrows * scale_of(window), widest), widest);
    MoveWindow(s.buddy, b.left, b.top, room - width, b.height(), TRUE);
    const int height = std::max(b.height(), 2 * kShortestArrow * scale_of(window));
    MoveWindow(window, b.left + room - width, b.top - (height - b.height()) / 2, width, height, TRUE);
}

void attach_to_buddy(HWND window, UpDownState& s) {
    Window* w = find_window(window);
    if (!w || !(w->style & UDS_AUTOBUDDY)) return;
    s.buddy = previous_sibling(*w);
    s.template_width = w->rect.width();
    fit_beside_buddy(window, s);
}

int read_buddy(const UpDownState& s) {
    const Window* buddy = find_window(s.buddy);
    if (!buddy || buddy->text.empty()) return s.position;
    long value = 0;
    for (wchar_t c : buddy->text) {
        if (c < L'0' || c > L'9') return s.position;
        value = value * 10 + (c - L'0');
        if (value > 0x7FFF) return s.position;
    }
    return static_cast<int>(value);
}

void step(HWND window, UpDownState& s, int towards) {
    const Window* w = find_window(window);
    if (!w) return;
    const int low = std::min(s.lower, s.upper);
    const int high = std::max(s.lower, s.upper);
    // With the range given upside down, the up arrow still moves towards the upper bound.
    const int direction = s.upper >= s.lower ? towards : -towards;
    int position = (w->style & UDS_SETBUDDYINT) ? read_buddy(s) : s.position;
    position = std::clamp(position + direction, low, high);
    s.position = position;
    if ((w->style & UDS_SETBUDDYINT) && s.buddy) SetWindowTextW(s.buddy, std::to_wstring(position).c_str());
}

void paint(HWND window, const UpDownState& s) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    if (dc) {
        RECT client;
        GetClientRect(window, &client);
        const HBRUSH face = control_brush(GetParent(window), WM_CTLCOLORBTN, dc);
        const COLORREF ink = GetTextColor(dc);
        const int middle = client.bottom / 2;
        const int line = scale_of(window);
        for (int half = 0; half < 2; ++half) {
            const RECT part = {0, half ? middle : 0, client.right, half ? client.bottom : middle};
            FillRect(dc, &part, face);
            draw::frame(dc, part, s.press.pushed() && s.arrow == (half ? -1 : 1) ? ink : RGB(0, 0, 0), line);
            // A small triangle, pointing up on the upper part and down on the lower.
            const int cx = (part.left + part.right) / 2;
            const int height = std::max(1, std::min(part.right - part.left, part.bottom - part.top) / 4);
            const int top = (part.top + part.bottom - height) / 2;
            for (int row = 0; row < height; ++row) {
                const int half_width = half ? height - 1 - row : row;
                draw::fill(dc, {cx - half_width - 1, top + row, cx + half_width + 1, top + row + 1}, ink);
            }
        }
    }
    EndPaint(window, &ps);
}

}  // namespace

bool step_up_down_of_buddy(HWND buddy, int direction) {
    const Window* b = find_window(buddy);
    const Window* parent = b ? find_window(b->parent) : nullptr;
    if (!parent) return false;
    for (HWND sibling : parent->children) {
        const Window* w = find_window(sibling);
        UpDownState* s = w && w->window_class && w->window_class->proc == up_down_proc ? control_state<UpDownState>(sibling) : nullptr;
        if (s && s->buddy == buddy) {
            step(sibling, *s, direction);
            return true;
        }
    }
    return false;
}

LRESULT up_down_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        attach_to_buddy(window, create_control_state<UpDownState>(window));
        return 0;
    }
    UpDownState* state = control_state<UpDownState>(window);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    UpDownState& s = *state;
    switch (message) {
    case WM_DESTROY:
        free_control_state<UpDownState>(window);
        return 0;
    case UDM_SETRANGE:
        // Two signed 16-bit bounds, the upper one low.
        s.upper = static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        s.lower = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)));
        fit_beside_buddy(window, s);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
        // The arrows are small: a press beside them (the dialog passes it on) counts as on them, and
        // holds wherever the pen goes until it is let go.
        const bool was_pushed = s.press.pushed();
        const Press press = s.press.follow(window, message, true);
        if (press == Press::Began) {
            RECT client;
            GetClientRect(window, &client);
            s.arrow = GET_Y_LPARAM(lParam) < client.bottom / 2 ? 1 : -1;
            step(window, s, s.arrow);
            SetTimer(window, kRepeatTimer, kFirstRepeatMs, nullptr);
        }
        if (press == Press::Activated || press == Press::Cancelled) KillTimer(window, kRepeatTimer);
        if (s.press.pushed() != was_pushed) InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRepeatTimer && s.press.tracking()) {
            step(window, s, s.arrow);
            SetTimer(window, kRepeatTimer, kRepeatMs, nullptr);
        }
        return 0;
    case WM_PAINT:
        paint(window, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace platform
