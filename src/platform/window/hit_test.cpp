#include "window/hit_test.h"

#include "window/window_table.h"

namespace platform {
namespace {

HWND deepest_at(const Window& w, int x, int y) {
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
        const Window* c = find_window(*it);
        if (c && c->visible && c->enabled && !c->destroying && c->rect.contains(x, y))
            return deepest_at(*c, x - c->rect.left, y - c->rect.top);
    }
    return w.handle;
}

}  // namespace

HWND window_at(int x, int y) {
    const auto& z = window_table().z_order;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        const Window* w = find_window(*it);
        if (!w || !w->visible || w->destroying || !w->rect.contains(x, y)) continue;
        return w->enabled ? deepest_at(*w, x - w->rect.left, y - w->rect.top) : nullptr;
    }
    return nullptr;
}

}  // namespace platform
