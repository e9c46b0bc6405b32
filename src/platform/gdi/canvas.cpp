#include "gdi/canvas.h"

#include <algorithm>

#include "gdi/raster.h"
#include "gdi/draw_target.h"

namespace platform::gdi {
namespace {

int distance(COLORREF a, COLORREF b) {
    const int dr = GetRValue(a) - GetRValue(b);
    const int dg = GetGValue(a) - GetGValue(b);
    const int db = GetBValue(a) - GetBValue(b);
    return dr * dr + dg * dg + db * db;
}

bool find_canvas(const DC& dc, Canvas* canvas) {
    if (!dc.window) {
        Bitmap* bitmap = dc.selected;
        if (!bitmap) return false;
        *canvas = {bitmap->surface, 0, 0, bitmap->surface.bounds(), bitmap->surface.bounds(), nullptr, false,
                   bitmap->surface.format == PixelFormat::Mono1 ? bitmap->palette : nullptr, bitmap};
        return true;
    }
    DrawTarget target{};
    if (!dc.hwnd || !window_draw_target(dc.hwnd, &target)) return false;
    Rect clip = intersect(target.clip, target.surface.bounds());
    if (dc.clipped) clip = intersect(clip, dc.clip.offset(target.origin_x, target.origin_y));
    *canvas = {target.surface, target.origin_x,       target.origin_y, clip, clip.offset(-target.origin_x, -target.origin_y),
               target.dirty,   true, nullptr};
    return true;
}

}  // namespace

std::uint64_t canvas_generation = 1;

const Canvas* resolve_canvas_again(const DC& dc) {
    dc.drawable = find_canvas(dc, &dc.canvas);
    dc.resolved_at = canvas_generation;
    return dc.drawable ? &dc.canvas : nullptr;
}

Rect clip_to_canvas(const Canvas& canvas, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    x += canvas.origin_x;
    y += canvas.origin_y;
    const Rect& c = canvas.clip;
    const std::int64_t left = std::max<std::int64_t>(x, c.left), right = std::min<std::int64_t>(x + w, c.right);
    const std::int64_t top = std::max<std::int64_t>(y, c.top), bottom = std::min<std::int64_t>(y + h, c.bottom);
    if (left >= right || top >= bottom) return {};
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

void window_canvas_changed(const Canvas& canvas, const Rect& area) {
    if (canvas.dirty) canvas.dirty->add(area);
    window_drew();
}

std::uint32_t canvas_value(const Canvas& canvas, COLORREF colour) {
    colour &= 0xFFFFFF;
    if (canvas.surface.format == PixelFormat::Rgb32) return pixel_from_colorref(colour);
    const COLORREF zero = canvas.palette ? canvas.palette[0] : kBlack;
    const COLORREF one = canvas.palette ? canvas.palette[1] : kWhite;
    return distance(colour, one) < distance(colour, zero) ? 1u : 0u;
}

COLORREF canvas_colour(const Canvas& canvas, int x, int y) {
    ColourRule palette;
    if (canvas.palette) palette = {pixel_from_colorref(canvas.palette[0]), pixel_from_colorref(canvas.palette[1])};
    return colorref_from_pixel(read_pixel(canvas.surface, x, y, palette));
}

}  // namespace platform::gdi

namespace platform {

void draw_targets_changed() { ++gdi::canvas_generation; }

}  // namespace platform
