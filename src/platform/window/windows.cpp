// Windows: classes, the birth and death of windows, and their visibility, enabled state, place, size,
// relations, text and user data.
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "gdi/draw_target.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "system/remote.h"
#include "window/activation.h"
#include "window/capture.h"
#include "window/paint.h"
#include "window/posted_messages.h"
#include "window/screen.h"
#include "window/timers.h"
#include "window/window_table.h"

using namespace platform;

namespace {

// Atoms of registered classes start where the system's own string atoms do.
constexpr ATOM kFirstClassAtom = 0xC000;
// More extra bytes than any control needs is a mistake, not a request.
constexpr int kLargestWindowExtra = 1024;

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

void set_text(Window& w, LPCWSTR text) {
    withdraw_from_other_processes(w);
    w.text = text ? text : L"";
    announce_to_other_processes(w);
    name_the_display();
}

int copy_text(const Window& w, LPWSTR buffer, std::size_t capacity) {
    if (!buffer || capacity == 0) return 0;
    const std::size_t n = std::min(w.text.size(), capacity - 1);
    std::copy_n(w.text.begin(), n, buffer);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

// The style as GWL_STYLE reports it: with the visible and disabled bits of the window's state.
LONG_PTR style_of(const Window& w) {
    return static_cast<LONG_PTR>((w.style & ~(WS_VISIBLE | WS_DISABLED)) | (w.visible ? WS_VISIBLE : 0) |
                                 (w.enabled ? 0 : WS_DISABLED));
}

// The extra bytes at `offset` that a LONG_PTR covers, or null when they are not all there.
std::uint8_t* extra_at(Window& w, int offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) + sizeof(LONG_PTR) > w.extra.size()) return nullptr;
    return w.extra.data() + offset;
}

}  // namespace

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
        !*wc->lpszClassName || find_registered_class(wc->lpszClassName) || wc->cbWndExtra < 0 ||
        wc->cbWndExtra > kLargestWindowExtra)
        return 0;
    auto& classes = window_table().classes;
    auto c = std::make_unique<WindowClass>();
    c->name = wc->lpszClassName;
    c->atom = static_cast<ATOM>(kFirstClassAtom + classes.size());
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->background = wc->hbrBackground;
    c->cursor = wc->hCursor;
    c->window_extra = wc->cbWndExtra;
    classes.push_back(std::move(c));
    return classes.back()->atom;
}

ULONG_PTR SetClassLongPtrW(HWND window, int index, LONG_PTR value) {
    const Window* w = find_window(window);
    if (!w || index != GCLP_HCURSOR) return 0;
    for (auto& c : window_table().classes) {
        if (c.get() != w->window_class) continue;
        const auto previous = reinterpret_cast<ULONG_PTR>(c->cursor);
        c->cursor = reinterpret_cast<HCURSOR>(value);
        return previous;
    }
    return 0;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    const WindowClass* window_class = find_class(className);
    // A child's menu argument is its control id; top-level windows have no menu bars here.
    if (!window_class || (menu && !(style & WS_CHILD))) return nullptr;
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
    created->style = style & ~WS_VISIBLE;
    created->ex_style = exStyle;
    // What a topmost window owns lives in its band too, or it would hide behind its owner.
    if (const Window* o = find_window(owner); o && o->is_topmost()) created->ex_style |= WS_EX_TOPMOST;
    created->id = (style & WS_CHILD) ? reinterpret_cast<UINT_PTR>(menu) : 0;
    created->extra.assign(static_cast<std::size_t>(window_class->window_extra), 0);
    created->serial = table.next_serial++;
    created->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    created->parent = (style & WS_CHILD) ? parent : nullptr;
    created->owner = owner;
    created->enabled = (style & WS_DISABLED) == 0;
    const HWND handle = as_handle<HWND>(table.windows.add(std::move(created)));
    draw_targets_changed();
    Window& w = *find_window(handle);
    w.handle = handle;
    if (w.is_child()) {
        find_window(parent)->children.push_back(handle);
    } else {
        raise_in_z_order(handle);
        fit_surface(w);
    }
    invalidate(w, {0, 0, w.rect.width(), w.rect.height()}, true);

    CREATESTRUCTW creation{param,      instance,  menu,     parent, height, width, y, x, static_cast<LONG>(style),
                           windowName, className, exStyle};
    const auto creation_param = reinterpret_cast<LPARAM>(&creation);
    if (!SendMessageW(handle, WM_NCCREATE, 0, creation_param) || !find_window(handle) ||
        SendMessageW(handle, WM_CREATE, 0, creation_param) == -1) {
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
        draw_targets_changed();
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
    draw_targets_changed();
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
        draw_targets_changed();
        invalidate(*w, whole_client(*w), true);
        if (!w->is_child()) {
            raise_in_z_order(handle);
            screen_expose(w->rect);
        }
    } else if (!show && w->visible) {
        window_disappearing(*w);
        w->visible = false;
        draw_targets_changed();
        if (w->is_child()) {
            child_area_changed(*w, w->rect);
        } else {
            screen_uncover(*w, w->rect);
        }
    }
    if (show && command != SW_SHOWNA && !w->is_child() && w->enabled && !w->destroying) activate(handle);
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
    draw_targets_changed();
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
    if (!w) return nullptr;
    if (w->is_child()) return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
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
    if (!find_window(handle)) return FALSE;
    return SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND handle, LPWSTR buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    buffer[0] = L'\0';
    if (!find_window(handle)) return 0;
    return static_cast<int>(SendMessageW(handle, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(buffer)));
}

LONG_PTR SetWindowLongPtrW(HWND handle, int index, LONG_PTR value) {
    Window* w = find_window(handle);
    if (!w) return 0;
    switch (index) {
    case GWL_STYLE: {
        // Visibility and the enabled state have their own calls, and a window cannot change between
        // child and top-level.
        const LONG_PTR previous = style_of(*w);
        constexpr DWORD kFixed = WS_VISIBLE | WS_DISABLED | WS_CHILD | WS_POPUP;
        w->style = (static_cast<DWORD>(value) & ~kFixed) | (w->style & (WS_CHILD | WS_POPUP));
        return previous;
    }
    default:
        if (std::uint8_t* bytes = extra_at(*w, index)) {
            LONG_PTR previous;
            std::memcpy(&previous, bytes, sizeof previous);
            std::memcpy(bytes, &value, sizeof value);
            return previous;
        }
        return 0;
    }
}

LONG_PTR GetWindowLongPtrW(HWND handle, int index) {
    Window* w = find_window(handle);
    if (!w) return 0;
    switch (index) {
    case GWL_STYLE: return style_of(*w);
    default:
        if (const std::uint8_t* bytes = extra_at(*w, index)) {
            LONG_PTR value;
            std::memcpy(&value, bytes, sizeof value);
            return value;
        }
        return 0;
    }
}

int GetDlgCtrlID(HWND handle) {
    const Window* w = find_window(handle);
    return w && w->is_child() ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
    const Window* p = find_window(parent);
    if (!p) return nullptr;
    for (HWND h : p->children)
        if (const Window* c = find_window(h); c && !c->destroying && static_cast<int>(c->id) == id) return h;
    return nullptr;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = find_window(window);
    if (!w) return 0;
    switch (message) {
    case WM_NCCREATE:
        set_text(*w, reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName);
        return TRUE;
    case WM_SETTEXT:
        set_text(*w, reinterpret_cast<LPCWSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: return copy_text(*w, reinterpret_cast<LPWSTR>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_RBUTTONUP: {
        const POINT origin = client_origin_on_screen(*w);
        const auto x = static_cast<WORD>(origin.x + GET_X_LPARAM(lParam));
        const auto y = static_cast<WORD>(origin.y + GET_Y_LPARAM(lParam));
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(x, y));
        return 0;
    }
    case WM_KEYUP:
        // From the keyboard the menu has no place to point at: -1 says so.
        if (wParam == VK_APPS) SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
        return 0;
    case WM_CONTEXTMENU:
        if (w->is_child()) return SendMessageW(w->parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT client;
        if (!w->window_class->background || !GetClientRect(window, &client)) return 0;
        return FillRect(reinterpret_cast<HDC>(wParam), &client, w->window_class->background) ? 1 : 0;
    }
    default:
        return 0;
    }
}
