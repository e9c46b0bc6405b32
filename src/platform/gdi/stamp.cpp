#include "gdi/stamp.h"

#include "core/handles.h"
#include "gdi/bit_rows.h"
#include "gdi/canvas.h"
#include "gdi/expand.h"
#include "gdi/objects.h"

namespace platform::gdi {
namespace {

enum class StampKind : std::uint8_t { None, OntoPixels, OntoBits };

// What one (target, source) pair of DCs draws between, found once for a canvas generation: a
// stroke's sixty stamps a move then skip the handle lookups, the canvas checks and the row
// arithmetic. Every change that could make it wrong (a selection, a DC deleted, a window changed)
// moves the generation on; the target's colours are read from its DC each time, as they change
// without that.
struct StampRoute {
    std::uintptr_t target = 0;
    std::uintptr_t source = 0;
    std::uint64_t generation = 0;  // 0: nothing found yet
    StampKind kind = StampKind::None;
    const DC* target_dc = nullptr;
    Canvas to;                     // for its DC clip and for showing what changed
    Rect from_clip;                // the source DC's clip, in its coordinates
    Surface to_surface;
    Surface from_surface;
    // Image row 0 of each DC, and the bytes from one image row to the next one down (1-bit rows
    // are stored bottom-up). A 32-bit target's is its DC's (0, 0) pixel.
    std::uint8_t* to_origin = nullptr;
    std::ptrdiff_t to_step = 0;
    std::ptrdiff_t to_pixel_step = 0;  // to_step in 32-bit pixels
    const std::uint8_t* from_origin = nullptr;
    std::ptrdiff_t from_step = 0;
    // The source's bitmap when only drawing calls change its pixels, and whether they were all one
    // value (0 or 1; -1 when not) after its `from_writes`th write. A pen stamp is solid ink or
    // paper, and copying one is then a fill.
    const Bitmap* from_bitmap = nullptr;
    std::uint64_t from_writes = 0;
    int from_value = -1;
};

// A 1-bit memory DC's source, whose (0, 0) is its bitmap's; onto pixels, or onto another image.
StampKind kind_between(const Canvas& to, const Canvas& from) {
    if (from.surface.format != PixelFormat::Mono1 || from.origin_x != 0 || from.origin_y != 0) return StampKind::None;
    if (to.surface.format == PixelFormat::Rgb32) return StampKind::OntoPixels;
    if (to.origin_x != 0 || to.origin_y != 0) return StampKind::None;
    return to.surface.bits == from.surface.bits ? StampKind::None : StampKind::OntoBits;
}

// 0 or 1 when every pixel of a 1-bit surface no wider than one word has that value, else -1. Wider
// surfaces are not looked at: they are seldom one value and would cost a scan each time they change.
int one_value(const Surface& s) {
    if (s.width > 32) return -1;
    const std::uint32_t mask = span_mask(0, s.width);
    const std::uint32_t first = load_be32(s.row(0)) & mask;
    if (first != 0 && first != mask) return -1;
    for (int y = 1; y < s.height; ++y)
        if ((load_be32(s.row(y)) & mask) != first) return -1;
    return first ? 1 : 0;
}

std::ptrdiff_t row_step(const Surface& s) {
    return s.format == PixelFormat::Mono1 ? -static_cast<std::ptrdiff_t>(s.stride) : s.stride;
}

// Out of line: it runs once a canvas generation, and inlined its frame would weigh on every stamp.
[[gnu::noinline]] void find_route(StampRoute* route, std::uintptr_t target, std::uintptr_t source) {
    *route = {};
    route->target = target;
    route->source = source;
    route->generation = canvas_generation;
    const DC* target_dc = find_dc(as_handle<HDC>(target));
    const DC* source_dc = find_dc(as_handle<HDC>(source));
    const Canvas* to = target_dc ? resolve_canvas(*target_dc) : nullptr;
    const Canvas* from = source_dc ? resolve_canvas(*source_dc) : nullptr;
    if (!to || !from) return;
    route->kind = kind_between(*to, *from);
    route->target_dc = target_dc;
    route->to = *to;
    route->from_clip = from->dc_clip;
    route->to_surface = to->surface;
    route->from_surface = from->surface;
    route->to_origin = to->surface.row(to->origin_y) +
                       (to->surface.format == PixelFormat::Rgb32 ? std::ptrdiff_t{4} * to->origin_x : 0);
    route->to_step = row_step(to->surface);
    route->to_pixel_step = route->to_step / 4;
    route->from_origin = from->surface.row(0);
    route->from_step = row_step(from->surface);
    if (route->kind != StampKind::None && from->bitmap && !from->bitmap->dib) {
        route->from_bitmap = from->bitmap;
        route->from_writes = from->bitmap->writes;
        route->from_value = one_value(from->surface);
    }
}

// The value every pixel of the route's source has, or -1, looked at again after any write to it.
int source_value(StampRoute& route) {
    if (!route.from_bitmap) return -1;
    if (route.from_bitmap->writes != route.from_writes) {
        route.from_writes = route.from_bitmap->writes;
        route.from_value = one_value(route.from_surface);
    }
    return route.from_value;
}

// The screen's route and the image's, which a stroke takes in turn; a third pair takes the place
// of the one used less lately.
StampRoute& route_between(HDC target, HDC source) {
    static StampRoute routes[2];
    static int last = 0;
    const std::uintptr_t t = raw(target), s = raw(source);
    for (int i = 0; i < 2; ++i) {
        StampRoute& route = routes[i];
        if (route.target == t && route.source == s && route.generation == canvas_generation) {
            last = i;
            return route;
        }
    }
    last ^= 1;
    find_route(&routes[last], t, s);
    return routes[last];
}

bool holds(const Rect& clip, int x, int y, int w, int h) {
    return x >= clip.left && y >= clip.top && w <= clip.right - x && h <= clip.bottom - y;
}

}  // namespace

BOOL copy_stamp(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy) {
    StampRoute& route = route_between(target, source);
    if (route.kind == StampKind::None || w <= 0 || h <= 0 || !route.to.holds(x, y, w, h) ||
        !holds(route.from_clip, sx, sy, w, h)) [[unlikely]]
        return copy_blocks(target, x, y, w, h, source, sx, sy, SRCCOPY);
    const std::uint8_t* from_row = route.from_origin + sy * route.from_step;
    const int value = source_value(route);
    if (route.kind == StampKind::OntoPixels) {
        const DC& dc = *route.target_dc;
        auto* to = reinterpret_cast<std::uint32_t*>(route.to_origin + y * route.to_step) + x;
        if (value >= 0)
            expand_one_value(to, route.to_pixel_step, w, h, pixel_from_colorref(value ? dc.background : dc.text));
        else
            expand_block(to, route.to_pixel_step, from_row, route.from_step, sx, w, h, pixel_from_colorref(dc.text),
                         pixel_from_colorref(dc.background));
    } else {
        if (!narrow(x, w, route.to_surface, sx, route.from_surface)) [[unlikely]]
            return copy_blocks(target, x, y, w, h, source, sx, sy, SRCCOPY);
        std::uint8_t* to = route.to_origin + y * route.to_step + (x >> 3);
        if (value >= 0)
            narrow_fill_rows(to, route.to_step, x & 7, w, h, value);
        else
            narrow_rows(to, route.to_step, from_row + (sx >> 3), route.from_step, x & 7, sx & 7, w, h,
                        [](std::uint32_t s, std::uint32_t) { return s; });
    }
    const int left = x + route.to.origin_x, top = y + route.to.origin_y;
    canvas_changed(route.to, {left, top, left + w, top + h});
    return TRUE;
}

}  // namespace platform::gdi
