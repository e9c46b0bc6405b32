// Device input: the platform's own buffer of device events, the live key state, capture, and the
// pointer and key messages made from the buffer when the program retrieves them.
#include "window/input.h"

#include <algorithm>
#include <array>
#include <deque>

#include "backend/backend.h"
#include "core/clock.h"
#include "platform/window.h"
#include "system/remote.h"
#include "window/activation.h"
#include "window/cursor.h"
#include "window/message_queue.h"
#include "window/screen.h"
#include "window/window_table.h"

using namespace platform;

namespace {

constexpr int kLeftButton = 0x01;  // the pointer's key in the key state, as VK_LBUTTON
constexpr WPARAM kLeftButtonDown = 0x0001;
constexpr LPARAM kRepeatBit = LPARAM{1} << 30;
constexpr LPARAM kReleaseBits = (LPARAM{1} << 30) | (LPARAM{1} << 31);
constexpr short kKeyIsDown = static_cast<short>(0x8000);

struct BufferedInput {
    DeviceEvent event;
    DWORD time;
};

struct FocusChange {
    enum class Kind { Gained, Lost, Raise } kind;
    HWND window;
};

std::deque<BufferedInput> buffered;
std::deque<FocusChange> focus_changes;
std::array<bool, 256> key_down{};
HWND capture = nullptr;
LPARAM extra_info = 0;

void set_key(int vk, bool down) {
    if (vk >= 0 && vk < static_cast<int>(key_down.size())) key_down[static_cast<std::size_t>(vk)] = down;
}

void take_remote_messages() {
    if (!remote_enabled()) return;
    RemoteMessage m;
    while (remote_take_message(&m)) {
        const HWND target = m.window ? m.window : first_unowned_window();
        if (!find_window(target)) continue;
        if (m.raise) {
            focus_changes.push_back({FocusChange::Kind::Raise, target});
        } else {
            post_to_queue(target, m.message, m.wParam, m.lParam);
        }
    }
}

void ask_to_close() {
    if (const HWND main = first_unowned_window()) post_to_queue(main, WM_CLOSE, 0, 0);
}

HWND window_at(int x, int y);

// What GetMessageExtraInfo says of a pointer message from `source`.
LPARAM extra_info_of(PointerSource source) {
    switch (source) {
    case PointerSource::Mouse: return 0;
    case PointerSource::Touch: return MI_WP_SIGNATURE | MI_FROM_TOUCH;
    case PointerSource::Pen: return MI_WP_SIGNATURE;
    case PointerSource::Eraser: return MI_WP_SIGNATURE | MI_PEN_ERASER;
    }
    return 0;
}

bool is_pointer(DeviceEvent::Type type) {
    using Type = DeviceEvent::Type;
    switch (type) {
    case Type::PointerDown:
    case Type::PointerMove:
    case Type::PointerUp:
    case Type::PointerHover:
    case Type::RightButtonDown:
    case Type::RightButtonUp:
    case Type::Wheel: return true;
    default: return false;
    }
}

void accept(const DeviceEvent& e) {
    using Type = DeviceEvent::Type;
    // The pointer shows or hides as it is read, before the program catches up.
    if (is_pointer(e.type)) pointer_seen(e.source, find_window(capture) ? capture : window_at(e.x, e.y));
    switch (e.type) {
    case Type::PointerHover:
        return;
    case Type::PointerDown:
    case Type::PointerUp:
    case Type::PointerCancel:
        set_key(kLeftButton, e.type == Type::PointerDown);
        break;
    case Type::KeyDown:
    case Type::KeyUp:
        set_key(e.vk, e.type == Type::KeyDown);
        break;
    case Type::RightButtonDown:
    case Type::RightButtonUp:
        set_key(VK_RBUTTON, e.type == Type::RightButtonDown);
        break;
    case Type::PointerMove:
    case Type::Text:
    case Type::Wheel:
    case Type::FingerTap:
        break;
    case Type::FocusGained:
        focus_changes.push_back({FocusChange::Kind::Gained, nullptr});
        return;
    case Type::FocusLost:
        // Key releases may never reach a program that is no longer in front.
        key_down.fill(false);
        focus_changes.push_back({FocusChange::Kind::Lost, nullptr});
        return;
    case Type::CloseRequested:
        // Ink and keys that came before the request are the person's last word: they reach the
        // program first, and the close waits in the buffer behind them.
        if (!buffered.empty()) break;
        ask_to_close();
        return;
    case Type::Wake:
        take_remote_messages();
        return;
    case Type::ScreenLost:
        if (has_backend()) screen_expose({0, 0, backend().screen_width(), backend().screen_height()});
        return;
    }
    buffered.push_back({e, static_cast<DWORD>(clock_peek())});
}

HWND deepest_at(const Window& w, int x, int y) {
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
        const Window* c = find_window(*it);
        if (c && c->visible && c->enabled && !c->destroying && c->rect.contains(x, y))
            return deepest_at(*c, x - c->rect.left, y - c->rect.top);
    }
    return w.handle;
}

// The window a tap at a screen point goes to. A tap never passes through a window: on a disabled
// one (the owner of a modal box) it goes nowhere.
HWND window_at(int x, int y) {
    const auto& z = window_table().z_order;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        const Window* w = find_window(*it);
        if (!w || !w->visible || w->destroying || !w->rect.contains(x, y)) continue;
        return w->enabled ? deepest_at(*w, x - w->rect.left, y - w->rect.top) : nullptr;
    }
    return nullptr;
}

// A window takes input only while it and every window it lies in are enabled.
bool takes_input(const Window& w) {
    for (const Window* a = &w; a; a = a->is_child() ? find_window(a->parent) : nullptr)
        if (!a->enabled || a->destroying) return false;
    return true;
}

bool make_message(const BufferedInput& in, MSG* out) {
    using Type = DeviceEvent::Type;
    const DeviceEvent& e = in.event;
    if (e.type == Type::KeyDown || e.type == Type::KeyUp || e.type == Type::Text) {
        HWND target = GetFocus();
        if (!target) target = GetActiveWindow();
        const Window* w = find_window(target);
        if (!w || !takes_input(*w)) return false;
        if (e.type == Type::Text) {
            static_assert(sizeof(LPARAM) == 8, "typed characters travel in the upper half of lParam");
            *out = {target, WM_KEYDOWN, VK_PACKET, 1 | static_cast<LPARAM>(std::uint64_t{e.character} << 32), in.time,
                    {e.x, e.y}};
            return true;
        }
        const LPARAM flags = e.type == Type::KeyUp ? kReleaseBits : (e.repeat ? kRepeatBit : 0);
        *out = {target, e.type == Type::KeyDown ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(e.vk), 1 | flags,
                in.time, {e.x, e.y}};
        return true;
    }
    if (e.type == Type::Wheel) {
        // The wheel turns what has the keyboard, and says where the pointer is on the screen.
        HWND target = GetFocus();
        if (!target) target = GetActiveWindow();
        const Window* w = find_window(target);
        if (!w || !takes_input(*w)) return false;
        const WORD delta = static_cast<WORD>(e.wheel * WHEEL_DELTA);
        *out = {target, WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                MAKELPARAM(static_cast<WORD>(e.x), static_cast<WORD>(e.y)), in.time, {e.x, e.y}};
        return true;
    }
    if (e.type == Type::FingerTap) {
        if (e.fingers != 2 && e.fingers != 3) return false;
        const HWND target = window_at(e.x, e.y);
        const Window* w = find_window(target);
        if (!w || !takes_input(*w)) return false;
        *out = {target, WM_GESTURE, e.fingers == 2 ? GID_TWOFINGERTAP : GID_THREEFINGERTAP,
                MAKELPARAM(static_cast<WORD>(e.x), static_cast<WORD>(e.y)), in.time, {e.x, e.y}};
        return true;
    }
    const HWND target = find_window(capture) ? capture : window_at(e.x, e.y);
    const Window* w = find_window(target);
    if (!w || !takes_input(*w)) return false;
    if (e.type == Type::PointerCancel) {
        // The press's window is told, where the press began, and no longer holds the pointer.
        capture = nullptr;
        *out = {target, WM_CANCELMODE, 0, 0, in.time, {e.x, e.y}};
        return true;
    }
    const POINT origin = client_origin_on_screen(*w);
    UINT message = WM_MOUSEMOVE;
    WPARAM buttons = kLeftButtonDown;
    switch (e.type) {
    case Type::PointerDown: message = WM_LBUTTONDOWN; break;
    case Type::PointerUp: message = WM_LBUTTONUP; buttons = 0; break;
    case Type::RightButtonDown: message = WM_RBUTTONDOWN; buttons = MK_RBUTTON; break;
    case Type::RightButtonUp: message = WM_RBUTTONUP; buttons = 0; break;
    default: break;
    }
    // Client coordinates travel as unsigned 16-bit values, so a point left of or above a capturing
    // window arrives as a large number.
    *out = {target, message, buttons,
            MAKELPARAM(static_cast<WORD>(e.x - origin.x), static_cast<WORD>(e.y - origin.y)), in.time, {e.x, e.y}};
    return true;
}

}  // namespace

namespace platform {

void pump_device_events() {
    if (!has_backend()) return;
    DeviceEvent e;
    while (backend().next_event(&e, 0)) accept(e);
}

bool wait_device_event(int timeout_ms) {
    if (!has_backend()) return false;
    DeviceEvent e;
    if (!backend().next_event(&e, timeout_ms)) return false;
    accept(e);
    return true;
}

bool run_pending_focus_changes() {
    const bool any = !focus_changes.empty();
    while (!focus_changes.empty()) {
        const FocusChange change = focus_changes.front();
        focus_changes.pop_front();
        switch (change.kind) {
        case FocusChange::Kind::Gained: foreground_changed(true); break;
        case FocusChange::Kind::Lost: foreground_changed(false); break;
        case FocusChange::Kind::Raise: bring_to_foreground(change.window, true); break;
        }
    }
    return any;
}

bool take_input_message(MSG* message, HWND filter, UINT first, UINT last, bool remove) {
    for (auto it = buffered.begin(); it != buffered.end();) {
        if (it->event.type == DeviceEvent::Type::CloseRequested) {
            if (it != buffered.begin()) {
                ++it;
                continue;
            }
            ask_to_close();
            it = buffered.erase(it);
            continue;
        }
        MSG m;
        if (!make_message(*it, &m)) {
            it = buffered.erase(it);
            continue;
        }
        if ((filter && m.hwnd != filter) || !in_filter_range(m.message, first, last)) {
            ++it;
            continue;
        }
        if (remove) {
            extra_info = is_pointer(it->event.type) ? extra_info_of(it->event.source) : 0;
            buffered.erase(it);
            // A tap on a window of another top-level window than the active one brings it forward.
            if (m.message == WM_LBUTTONDOWN) {
                const Window& top = top_level_of(*find_window(m.hwnd));
                if (top.handle != GetActiveWindow()) activate(top.handle);
            }
        }
        *message = m;
        return true;
    }
    return false;
}

bool pointer_input_waiting() {
    return std::any_of(buffered.begin(), buffered.end(), [](const BufferedInput& in) {
        using Type = DeviceEvent::Type;
        const Type t = in.event.type;
        return t == Type::PointerDown || t == Type::PointerMove || t == Type::PointerUp;
    });
}

void forget_capture(HWND window) {
    if (capture && is_within(capture, window)) capture = nullptr;
}

}  // namespace platform

short GetAsyncKeyState(int virtualKey) {
    read_device_events_then_present();
    if (virtualKey < 0 || virtualKey >= static_cast<int>(key_down.size())) return 0;
    return key_down[static_cast<std::size_t>(virtualKey)] ? kKeyIsDown : 0;
}

HWND SetCapture(HWND window) {
    if (!find_window(window)) return nullptr;
    const HWND previous = GetCapture();
    capture = window;
    return previous;
}

BOOL ReleaseCapture() {
    capture = nullptr;
    return TRUE;
}

HWND GetCapture() { return find_window(capture) ? capture : nullptr; }

LPARAM GetMessageExtraInfo() { return extra_info; }
