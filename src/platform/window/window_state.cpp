// Visibility, enabled state, place, size, relations, text and user data of windows.
#include <algorithm>
#include <utility>

#include "platform/window.h"
#include "system/remote.h"
#include "window/activation.h"
#include "window/input.h"
#include "window/paint.h"
#include "window/remote_presence.h"
#include "window/screen.h"
#include "window/window_table.h"

using namespace platform;

namespace {

Rect whole_client(const Window& w) { return {0, 0, w.rect.width(), w.rect.height()}; }

// A child draws on its parent's pixels, so whatever the parent shows where the child was, or
// will be, has to be drawn again.
void child_area_changed(const Window& child, const Rect& area) {
    if (Window* parent = find_window(child.parent); parent && !parent->destroying) invalidate(*parent, area, true);
}

bool matches(const Window& w, const WindowClass* window_class, LPCWSTR name) {
    return !w.destroying && (!window_class || w.window_class == window_class) && (!name || w.text == name);
}

}  // namespace

BOOL ShowWindow(HWND handle, int command) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    const BOOL was_visible = w->visible ? TRUE : FALSE;
    const bool show = command != SW_HIDE;
    if (show && !w->visible) {
        w->visible = true;
        invalidate(*w, whole_client(*w), true);
        if (!w->is_child()) {
            raise_in_z_order(handle);
            screen_expose(w->rect);
        }
    } else if (!show && w->visible) {
        window_disappearing(*w);
        w->visible = false;
        if (w->is_child()) {
            child_area_changed(*w, w->rect);
        } else {
            screen_uncover(*w, w->rect);
        }
    }
    if (show && !w->is_child() && w->enabled && !w->destroying) activate(handle);
    return was_visible;
}

BOOL IsWindowVisible(HWND handle) {
    const Window* w = find_window(handle);
    return w && shown_on_screen(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND handle) {
    const Window* w = find_window(handle);
    return w && w->enabled ? TRUE : FALSE;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    const BOOL was_disabled = w->enabled ? FALSE : TRUE;
    if (w->enabled == (enable != FALSE)) return was_disabled;
    w->enabled = enable != FALSE;
    if (!w->enabled) {
        if (is_within(GetFocus(), handle)) SetFocus(nullptr);
        forget_capture(handle);
    }
    SendMessageW(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return was_disabled;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    const Rect old = w->rect;
    const Rect now{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (now == old) return TRUE;
    w->rect = now;
    const bool resized = old.width() != now.width() || old.height() != now.height();
    if (w->is_child()) {
        // Its old pixels stay on the parent's surface until the parent paints over them.
        child_area_changed(*w, old);
        invalidate(*w, whole_client(*w), true);
    } else {
        if (resized) {
            fit_surface(*w);
            invalidate(*w, whole_client(*w), true);
        }
        if (w->visible) {
            screen_uncover(*w, old);
            screen_expose(now);
        }
    }
    return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    const Window* w = find_window(handle);
    if (!w || !rect) return FALSE;
    const POINT o = client_origin_on_screen(*w);
    *rect = {o.x, o.y, o.x + w->rect.width(), o.y + w->rect.height()};
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    const Window* w = find_window(handle);
    if (!w || !rect) return FALSE;
    *rect = to_RECT(whole_client(*w));
    return TRUE;
}

HWND GetParent(HWND handle) {
    const Window* w = find_window(handle);
    return w && w->is_child() ? w->parent : nullptr;
}

HWND GetWindow(HWND handle, UINT relation) {
    const Window* w = find_window(handle);
    return w && relation == GW_OWNER ? w->owner : nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    const WindowClass* window_class = className ? find_class(className) : nullptr;
    if (!className || window_class) {
        const auto& z = window_table().z_order;
        for (auto it = z.rbegin(); it != z.rend(); ++it)
            if (const Window* w = find_window(*it); w && matches(*w, window_class, windowName)) return w->handle;
    }
    if (!remote_enabled()) return nullptr;
    // Another process knows classes by name only.
    if (className && IS_INTRESOURCE(className)) {
        if (!window_class) return nullptr;
        className = window_class->name.c_str();
    }
    return remote_find_window(className, windowName);
}

BOOL SetWindowTextW(HWND handle, LPCWSTR text) {
    Window* w = find_window(handle);
    if (!w) return FALSE;
    withdraw_from_other_processes(*w);
    w->text = text ? text : L"";
    announce_to_other_processes(*w);
    name_the_display();
    return TRUE;
}

int GetWindowTextW(HWND handle, LPWSTR buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    buffer[0] = L'\0';
    const Window* w = find_window(handle);
    if (!w) return 0;
    const std::size_t n = std::min(w->text.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(w->text.begin(), n, buffer);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

LONG_PTR SetWindowLongPtrW(HWND handle, int index, LONG_PTR value) {
    Window* w = find_window(handle);
    if (!w || index != GWLP_USERDATA) return 0;
    return std::exchange(w->user_data, value);
}

LONG_PTR GetWindowLongPtrW(HWND handle, int index) {
    const Window* w = find_window(handle);
    return w && index == GWLP_USERDATA ? w->user_data : 0;
}
