#include "window/window_table.h"

#include <algorithm>

#include "backend/backend.h"
#include "core/text.h"
#include "system/remote.h"
#include "window/platform_classes.h"

namespace platform {

WindowTable& window_table() {
    static WindowTable table;
    return table;
}

Window* find_window(HWND handle) { return window_table().windows.find(raw(handle)); }

const WindowClass* find_registered_class(LPCWSTR name_or_atom) {
    if (!name_or_atom) return nullptr;
    for (const auto& c : window_table().classes) {
        if (IS_INTRESOURCE(name_or_atom) ? c->atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name_or_atom))
                                         : same_text_ignoring_case(c->name, name_or_atom))
            return c.get();
    }
    return nullptr;
}

const WindowClass* find_class(LPCWSTR name_or_atom) {
    if (!name_or_atom) return nullptr;
    if (const WindowClass* c = find_registered_class(name_or_atom)) return c;
    // The platform's own classes are registered when first asked for.
    if (IS_INTRESOURCE(name_or_atom) || !register_platform_class(name_or_atom)) return nullptr;
    return find_registered_class(name_or_atom);
}

Window& top_level_of(Window& window) {
    Window* w = &window;
    while (w->is_child()) {
        Window* parent = find_window(w->parent);
        if (!parent) break;
        w = parent;
    }
    return *w;
}

int scale_of(HWND window) {
    for (Window* w = find_window(window); w; w = find_window(w->owner)) {
        w = &top_level_of(*w);
        if (w->scale > 0) return w->scale;
    }
    return display_scale();
}

namespace {

bool findable(const Window& w) { return !w.is_child() && !w.text.empty() && remote_enabled(); }

POINT origin_below(const Window& window, bool include_top_level) {
    POINT p{0, 0};
    const Window* w = &window;
    while (w) {
        if (!w->is_child() && !include_top_level) break;
        p.x += w->rect.left;
        p.y += w->rect.top;
        w = w->is_child() ? find_window(w->parent) : nullptr;
    }
    return p;
}

}  // namespace

POINT client_origin_on_screen(const Window& window) { return origin_below(window, true); }

POINT client_origin_on_surface(const Window& window) { return origin_below(window, false); }

bool is_within(HWND inner, HWND outer) {
    const Window* w = find_window(inner);
    while (w) {
        if (w->handle == outer) return true;
        w = w->is_child() ? find_window(w->parent) : nullptr;
    }
    return false;
}

bool shown_on_screen(const Window& window) {
    const Window* w = &window;
    while (w) {
        if (!w->visible) return false;
        if (!w->is_child()) return true;
        w = find_window(w->parent);
    }
    return false;
}

HWND first_unowned_window() {
    const Window* first = nullptr;
    for (HWND h : window_table().z_order) {
        const Window* w = find_window(h);
        if (w && !w->destroying && !w->owner && (!first || w->serial < first->serial)) first = w;
    }
    return first ? first->handle : nullptr;
}

void raise_in_z_order(HWND top_level) {
    const Window* raised = find_window(top_level);
    if (!raised || raised->is_child()) return;
    auto& z = window_table().z_order;
    std::erase(z, top_level);
    const auto band_top = raised->is_topmost() ? z.end() : std::find_if(z.begin(), z.end(), [](HWND h) {
        const Window* w = find_window(h);
        return w && w->is_topmost();
    });
    z.insert(band_top, top_level);
    // Owned windows stay above their owner; copy first, since raising them reorders the list.
    std::vector<HWND> owned;
    for (HWND h : z)
        if (const Window* w = find_window(h); w && w->owner == top_level) owned.push_back(h);
    for (HWND h : owned) raise_in_z_order(h);
}

void announce_to_other_processes(const Window& window) {
    if (findable(window)) remote_publish_window(window.handle, window.window_class->name.c_str(), window.text.c_str());
}

void withdraw_from_other_processes(const Window& window) {
    if (findable(window)) remote_withdraw_window(window.handle);
}

}  // namespace platform
