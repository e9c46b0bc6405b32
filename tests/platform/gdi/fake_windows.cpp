#include "fake_windows.h"

#include <memory>
#include <vector>

#include "window/draw_target.h"

namespace gdi_test {
namespace {

struct FakeWindow {
    int top = 0;  // index of the top-level window whose surface this draws on
    platform::Rect place;
    bool alive = true;
    std::vector<std::uint32_t> pixels;  // top-level windows only
    platform::DirtyRegion dirty;
};

std::vector<std::unique_ptr<FakeWindow>> windows;
int drew = 0;

FakeWindow* lookup(HWND window) {
    const auto index = reinterpret_cast<std::uintptr_t>(window);
    if (index == 0 || index > windows.size() || !windows[index - 1]->alive) return nullptr;
    return windows[index - 1].get();
}

HWND add(std::unique_ptr<FakeWindow> w) {
    windows.push_back(std::move(w));
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(windows.size()));
}

}  // namespace

HWND fake_window(int width, int height) {
    auto w = std::make_unique<FakeWindow>();
    w->top = static_cast<int>(windows.size());
    w->place = {0, 0, width, height};
    w->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return add(std::move(w));
}

HWND fake_child(HWND parent, int x, int y, int width, int height) {
    auto w = std::make_unique<FakeWindow>();
    w->top = lookup(parent)->top;
    w->place = {x, y, x + width, y + height};
    return add(std::move(w));
}

void fake_destroy(HWND window) { lookup(window)->alive = false; }

void fake_move(HWND window, int x, int y) {
    FakeWindow* w = lookup(window);
    w->place = w->place.offset(x - w->place.left, y - w->place.top);
}

std::uint32_t* fake_pixels(HWND window) { return windows[static_cast<std::size_t>(lookup(window)->top)]->pixels.data(); }

int fake_surface_width(HWND window) { return windows[static_cast<std::size_t>(lookup(window)->top)]->place.width(); }

platform::DirtyRegion& fake_dirty(HWND window) { return windows[static_cast<std::size_t>(lookup(window)->top)]->dirty; }

int fake_drew_count() { return drew; }

}  // namespace gdi_test

namespace platform {

bool window_draw_target(HWND window, DrawTarget* target) {
    gdi_test::FakeWindow* w = gdi_test::lookup(window);
    if (!w) return false;
    gdi_test::FakeWindow& top = *gdi_test::windows[static_cast<std::size_t>(w->top)];
    const int width = top.place.width();
    const int height = top.place.height();
    target->surface = {width, height, PixelFormat::Rgb32, width * 4, reinterpret_cast<std::uint8_t*>(top.pixels.data())};
    target->dirty = &top.dirty;
    target->origin_x = w->place.left;
    target->origin_y = w->place.top;
    target->clip = w->place;
    return true;
}

void window_drew() { ++gdi_test::drew; }

}  // namespace platform
