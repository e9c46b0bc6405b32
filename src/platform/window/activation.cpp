// Activation, the keyboard focus and the foreground.
#include "window/activation.h"

#include "backend/backend.h"
#include "platform/window.h"
#include "system/remote.h"
#include "window/capture.h"
#include "window/screen.h"

using namespace platform;

namespace {

HWND active = nullptr;
void (*activation_listener)() = nullptr;

void tell_listener() {
    if (activation_listener) activation_listener();
}
HWND focus = nullptr;
bool foreground = true;  // the display starts in front; the backend says when that changes

bool can_be_active(HWND handle) {
    const Window* w = find_window(handle);
    return w && !w->is_child() && w->visible && w->enabled && !w->destroying && !(w->ex_style & WS_EX_NOACTIVATE);
}

bool owned_by(const Window& w, HWND owner) {
    for (const Window* o = find_window(w.owner); o; o = find_window(o->owner))
        if (o->handle == owner) return true;
    return false;
}

// Raising changes what shows wherever a window changed its place in the z-order.
void raise_and_expose(HWND top_level) {
    const std::vector<HWND> before = window_table().z_order;
    raise_in_z_order(top_level);
    const auto& after = window_table().z_order;
    for (std::size_t i = 0; i < after.size(); ++i) {
        const Window* w = find_window(after[i]);
        if (w && w->visible && (i >= before.size() || before[i] != after[i])) screen_expose(w->rect);
    }
}

}  // namespace

namespace platform {

void activate(HWND top_level) {
    const Window* w = find_window(top_level);
    if (!w || w->is_child() || (w->ex_style & WS_EX_NOACTIVATE) || top_level == active) return;
    const HWND old = find_window(active) ? active : nullptr;
    active = top_level;
    raise_and_expose(top_level);
    if (old) SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top_level));
    if (active != top_level) return;  // the old window's handler activated another
    SendMessageW(top_level, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
    if (active == top_level && !is_within(focus, top_level)) SetFocus(top_level);
    tell_listener();
}

void set_activation_listener(void (*listener)()) { activation_listener = listener; }

void window_disappearing(Window& window) {
    forget_capture(window.handle);
    if (is_within(focus, window.handle)) focus = nullptr;
    if (window.is_child() || active != window.handle) return;
    HWND next = can_be_active(window.owner) ? window.owner : nullptr;
    const auto& z = window_table().z_order;
    for (auto it = z.rbegin(); !next && it != z.rend(); ++it)
        if (*it != window.handle && can_be_active(*it)) next = *it;
    if (next) {
        activate(next);
    } else {
        active = nullptr;
        SendMessageW(window.handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
        tell_listener();
    }
}

void foreground_changed(bool gained) {
    if (gained == foreground) return;
    foreground = gained;
    if (const HWND a = GetActiveWindow())
        SendMessageW(a, WM_ACTIVATE, MAKEWPARAM(gained ? WA_ACTIVE : WA_INACTIVE, 0), 0);
}

bool bring_to_foreground(HWND window, bool with_owned) {
    Window* w = find_window(window);
    if (!w || w->destroying) return false;
    const Window& top = top_level_of(*w);
    HWND target = top.handle;
    raise_and_expose(top.handle);
    if (with_owned) {
        const auto& z = window_table().z_order;
        for (auto it = z.rbegin(); it != z.rend(); ++it) {
            const Window* o = find_window(*it);
            if (o && owned_by(*o, top.handle) && can_be_active(*it)) {
                target = *it;
                break;
            }
        }
    }
    if (can_be_active(target)) activate(target);
    if (has_backend()) backend().raise();
    return true;
}

}  // namespace platform

BOOL SetForegroundWindow(HWND window) {
    // Bit 0 of the handle asks for the window's owned windows to come along.
    const std::uintptr_t value = raw(window);
    const HWND plain = as_handle<HWND>(value & ~std::uintptr_t{1});
    if (kind_of(value) == HandleKind::RemoteWindow)
        return remote_enabled() && remote_set_foreground(plain) ? TRUE : FALSE;
    return bring_to_foreground(plain, (value & 1) != 0) ? TRUE : FALSE;
}

HWND GetActiveWindow() { return find_window(active) ? active : nullptr; }

HWND GetFocus() { return find_window(focus) ? focus : nullptr; }

HWND SetFocus(HWND window) {
    if (window) {
        Window* w = find_window(window);
        if (!w || !w->enabled || w->destroying) return nullptr;
        const HWND top = top_level_of(*w).handle;
        if (top != active) activate(top);
    }
    const HWND previous = GetFocus();
    if (window == previous) return previous;
    focus = window;
    if (previous) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window) SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}
