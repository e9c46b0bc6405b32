// Window classes, and the birth and death of windows.
#include <algorithm>
#include <memory>

#include "platform/window.h"
#include "system/remote.h"
#include "window/activation.h"
#include "window/message_queue.h"
#include "window/paint.h"
#include "window/remote_presence.h"
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
