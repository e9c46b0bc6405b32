// Turning the device buffer into messages: the pointer, key, wheel and gesture messages made from
// buffered input when the program retrieves them, and the focus changes applied where the program
// expects messages.
#include "window/input.h"

#include "platform/window.h"
#include "window/activation.h"
#include "window/device_buffer.h"
#include "window/hit_test.h"
#include "window/posted_messages.h"
#include "window/screen.h"
#include "window/window_table.h"

using namespace platform;

namespace {

constexpr WPARAM kLeftButtonDown = 0x0001;
constexpr LPARAM kRepeatBit = LPARAM{1} << 30;
constexpr LPARAM kReleaseBits = (LPARAM{1} << 30) | (LPARAM{1} << 31);
constexpr short kKeyIsDown = static_cast<short>(0x8000);

LPARAM extra_info = 0;

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
    const HWND capture = GetCapture();
    const HWND target = capture ? capture : window_at(e.x, e.y);
    const Window* w = find_window(target);
    if (!w || !takes_input(*w)) return false;
    if (e.type == Type::PointerCancel) {
        // The press's window is told, where the press began, and no longer holds the pointer.
        ReleaseCapture();
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

bool run_pending_focus_changes() {
    bool any = false;
    FocusChange change;
    while (take_focus_change(&change)) {
        any = true;
        switch (change.kind) {
        case FocusChange::Kind::Gained: foreground_changed(true); break;
        case FocusChange::Kind::Lost: foreground_changed(false); break;
        case FocusChange::Kind::Raise: bring_to_foreground(change.window, true); break;
        }
    }
    return any;
}

bool take_input_message(MSG* message, HWND filter, UINT first, UINT last) {
    std::deque<BufferedInput>& buffered = buffered_input();
    for (auto it = buffered.begin(); it != buffered.end();) {
        if (it->event.type == DeviceEvent::Type::CloseRequested) {
            if (it != buffered.begin()) {
                ++it;
                continue;
            }
            ask_program_to_close();
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
        extra_info = is_pointer_event(it->event.type) ? extra_info_of(it->event.source) : 0;
        buffered.erase(it);
        // A tap on a window of another top-level window than the active one brings it forward.
        if (m.message == WM_LBUTTONDOWN) {
            const Window& top = top_level_of(*find_window(m.hwnd));
            if (top.handle != GetActiveWindow()) activate(top.handle);
        }
        *message = m;
        return true;
    }
    return false;
}

}  // namespace platform

short GetAsyncKeyState(int virtualKey) {
    read_device_events_then_present();
    return key_is_down(virtualKey) ? kKeyIsDown : 0;
}

LPARAM GetMessageExtraInfo() { return extra_info; }
