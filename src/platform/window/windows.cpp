// Windows: classes, the birth and death of windows, and their visibility, enabled state, place, size,
// relations, text and user data.
#include <algorithm>
#include <memory>
#include <utility>

#include "platform/window.h"
#include "system/remote.h"
#include "window/activation.h"
#include "window/input.h"
#include "window/message_queue.h"
#include "window/paint.h"
#include "window/screen.h"
#include "window/timers.h"
#include "window/window_table.h"

using namespace platform;

namespace {

// Atoms of registered classes start where the system's own string atoms do.
constexpr ATOM kFirstClassAtom = 0xC000;

void unlink(Window& w) {
    auto& table = window_table();
    if (w.is_child()) {
        if (Window* parent = find_window(w.parent)) std::erase(parent->children, w.handle);
    } else {
        std::erase(table.z_order, w.handle);
    }
}

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

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
        !*wc->lpszClassName || find_class(wc->lpszClassName))
        return 0;
    auto& classes = window_table().classes;
    auto c = std::make_unique<WindowClass>();
    c->name = wc->lpszClassName;
    c->atom = static_cast<ATOM>(kFirstClassAtom + classes.size());
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->background = wc->hbrBackground;
    classes.push_back(std::move(c));
    return classes.back()->atom;
}

HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* window_class = find_class(className);
    if (!window_class) return nullptr;
    HWND owner = nullptr;
    if (style & WS_CHILD) {
        const Window* p = find_window(parent);
        if (!p || p->destroying) return nullptr;
    } else if (parent) {
        Window* o = find_window(parent);
        if (!o || o->destroying) return nullptr;
        owner = top_level_of(*o).handle;  // a child cannot own: its top-level window does
    }

    auto& table = window_table();
    auto created = std::make_unique<Window>();
    created->window_class = window_class;
    if (windowName) created->text = windowName;
    created->style = style & ~WS_VISIBLE;
    created->serial = table.next_serial++;
    created->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    created->parent = (style & WS_CHILD) ? parent : nullptr;
    created->owner = owner;
    created->enabled = (style & WS_DISABLED) == 0;
    const HWND handle = as_handle<HWND>(table.windows.add(std::move(created)));
    Window& w = *find_window(handle);
    w.handle = handle;
    if (w.is_child()) {
        find_window(parent)->children.push_back(handle);
    } else {
        table.z_order.push_back(handle);
        fit_surface(w);
    }
    invalidate(w, {0, 0, w.rect.width(), w.rect.height()}, true);
    announce_to_other_processes(w);
    name_the_display();

    if (SendMessageW(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!find_window(handle)) return nullptr;  // its WM_CREATE destroyed it
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL DestroyWindow(HWND handle) {
    Window* w = find_window(handle);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;

    // Owned windows and children go first; copies, since each one unlinks itself.
    std::vector<HWND> owned;
    for (HWND h : window_table().z_order)
        if (const Window* o = find_window(h); o && o->owner == handle) owned.push_back(h);
    for (HWND h : owned) DestroyWindow(h);
    const std::vector<HWND> children = w->children;
    for (HWND h : children) DestroyWindow(h);

    window_disappearing(*w);
    if (w->visible) {
        w->visible = false;
        if (!w->is_child()) {
            screen_uncover(*w, w->rect);
        } else if (Window* parent = find_window(w->parent); parent && !parent->destroying) {
            invalidate(*parent, w->rect, true);
        }
    }

    // The window stays in the table (and `w` valid) through its WM_DESTROY: a second DestroyWindow
    // on it is refused while `destroying` is set.
    SendMessageW(handle, WM_DESTROY, 0, 0);

    withdraw_from_other_processes(*w);
    kill_window_timers(handle);
    drop_posted_messages(handle);
    unlink(*w);
    window_table().windows.remove(raw(handle));
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    if (kind_of(raw(handle)) == HandleKind::RemoteWindow) return remote_enabled() && remote_is_window(handle);
    return find_window(handle) != nullptr;
}

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
