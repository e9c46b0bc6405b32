// Block copies between device contexts: BitBlt, StretchBlt, TransparentImage, and GetPixel.
#include <algorithm>
#include <cstdlib>

#include "core/handles.h"
#include "gdi/canvas.h"
#include "gdi/fill.h"
#include "gdi/raster.h"
#include "gdi/stamp.h"
#include "platform/gdi.h"

using namespace platform;
using namespace platform::gdi;

namespace {

// Coordinates and sizes beyond this are refused by the stretching calls, so that their arithmetic
// stays within int.
constexpr int kCoordinateLimit = 1 << 28;

bool within_limit(std::initializer_list<int> values) {
    return std::all_of(values.begin(), values.end(), [](int v) { return std::abs(v) <= kCoordinateLimit; });
}

// The colour rule: a 1-bit source takes the target DC's text colour for 0 and background colour for
// 1; a 32-bit source going to 1 bit gives 1 where it shows the source DC's background colour.
ColourRule colour_rule(const DC& target, const DC* source, const Surface& source_surface) {
    if (source_surface.format == PixelFormat::Mono1)
        return {pixel_from_colorref(target.text), pixel_from_colorref(target.background)};
    return {0, pixel_from_colorref(source ? source->background : kWhite)};
}

struct Source {
    const DC* dc = nullptr;  // null when a bitmap is drawn from directly
    Canvas canvas;
};

// TransparentImage takes a bitmap or a DC as its source.
bool resolve_source(HANDLE handle, Source* source) {
    const std::uintptr_t value = raw(handle);
    if (kind_of(value) == HandleKind::Bitmap) {
        const Bitmap* bitmap = find_bitmap(value);
        if (!bitmap) return false;
        source->canvas.surface = bitmap->surface;
        source->canvas.clip = bitmap->surface.bounds();
        return true;
    }
    source->dc = find_dc(as_handle<HDC>(value));
    const Canvas* canvas = source->dc ? resolve_canvas(*source->dc) : nullptr;
    if (canvas) source->canvas = *canvas;
    return canvas != nullptr;
}

}  // namespace

namespace platform::gdi {

// Kept out of BitBlt, whose stamps would otherwise pay for saving the registers this needs.
[[gnu::noinline]] BOOL copy_blocks(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                                   int sourceY, DWORD rop) {
    const DC* target_dc = find_dc(dest);
    if (!target_dc || width < 0 || height < 0) return FALSE;
    const DC* source_dc = find_dc(source);
    const RopPlan plan = plan_rop(rop);
    if (plan.kind == RopPlan::Kind::Unsupported) return FALSE;
    if (plan.kind != RopPlan::Kind::Source) return paint_rect(*target_dc, x, y, width, height, plan.kind, target_dc->brush);

    const Canvas* target_canvas = resolve_canvas(*target_dc);
    const Canvas* from_canvas = source_dc ? resolve_canvas(*source_dc) : nullptr;
    if (!target_canvas || !from_canvas) return FALSE;
    const Canvas& target = *target_canvas;
    const Canvas& from = *from_canvas;

    // Cut the block to what both the target's clip and the source surface hold, moving both corners
    // together.
    std::int64_t tx = std::int64_t{x} + target.origin_x, ty = std::int64_t{y} + target.origin_y;
    std::int64_t sx = std::int64_t{sourceX} + from.origin_x, sy = std::int64_t{sourceY} + from.origin_y;
    const std::int64_t cut_left = std::max<std::int64_t>({0, target.clip.left - tx, from.clip.left - sx});
    const std::int64_t cut_top = std::max<std::int64_t>({0, target.clip.top - ty, from.clip.top - sy});
    tx += cut_left;
    sx += cut_left;
    ty += cut_top;
    sy += cut_top;
    const std::int64_t w = std::min<std::int64_t>({width - cut_left, target.clip.right - tx, from.clip.right - sx});
    const std::int64_t h = std::min<std::int64_t>({height - cut_top, target.clip.bottom - ty, from.clip.bottom - sy});
    if (w <= 0 || h <= 0) return TRUE;

    const Rect area{static_cast<int>(tx), static_cast<int>(ty), static_cast<int>(tx + w), static_cast<int>(ty + h)};
    // Between surfaces of one format there are no colours to convert.
    const ColourRule rule = from.surface.format == target.surface.format
                                ? ColourRule{}
                                : colour_rule(*target_dc, source_dc, from.surface);
    copy_block(target.surface, area.left, area.top, area.width(), area.height(), from.surface, static_cast<int>(sx),
               static_cast<int>(sy), plan.op, rule);
    canvas_changed(target, area);
    return TRUE;
}

}  // namespace platform::gdi

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    if (rop == SRCCOPY) return copy_stamp(dest, x, y, width, height, source, sourceX, sourceY);
    return copy_blocks(dest, x, y, width, height, source, sourceX, sourceY, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop) {
    const RopPlan plan = plan_rop(rop);
    const DC* target_dc = find_dc(dest);
    if (!target_dc || plan.kind == RopPlan::Kind::Unsupported || width < 0 || height < 0) return FALSE;
    if (plan.kind != RopPlan::Kind::Source) return paint_rect(*target_dc, x, y, width, height, plan.kind, target_dc->brush);
    if (width == sourceWidth && height == sourceHeight)
        return BitBlt(dest, x, y, width, height, source, sourceX, sourceY, rop);
    if (sourceWidth <= 0 || sourceHeight <= 0 ||
        !within_limit({x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight}))
        return FALSE;

    const DC* source_dc = find_dc(source);
    const Canvas* target_canvas = resolve_canvas(*target_dc);
    const Canvas* from_canvas = source_dc ? resolve_canvas(*source_dc) : nullptr;
    if (!target_canvas || !from_canvas) return FALSE;
    const Canvas& target = *target_canvas;
    const Canvas& from = *from_canvas;
    if (width == 0 || height == 0) return TRUE;

    const StretchMap map{x + target.origin_x, y + target.origin_y, width, height,
                         sourceX + from.origin_x, sourceY + from.origin_y, sourceWidth, sourceHeight};
    const Rect area = map.area(target.clip, from.clip);
    stretch_block(target.surface, area, map, from.surface, plan.op, colour_rule(*target_dc, source_dc, from.surface));
    if (!area.empty()) canvas_changed(target, area);
    return TRUE;
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent) {
    const DC* target_dc = find_dc(dest);
    const Canvas* target_canvas = target_dc ? resolve_canvas(*target_dc) : nullptr;
    Source from;
    if (!target_canvas || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 ||
        !within_limit({x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight}) ||
        !resolve_source(source, &from))
        return FALSE;
    const Canvas& target = *target_canvas;

    const StretchMap map{x + target.origin_x, y + target.origin_y, width, height,
                         sourceX + from.canvas.origin_x, sourceY + from.canvas.origin_y, sourceWidth, sourceHeight};
    const Rect area = map.area(target.clip, from.canvas.clip);
    const ColourRule rule = colour_rule(*target_dc, from.dc, from.canvas.surface);
    const std::uint32_t key = pixel_from_colorref(transparent & 0xFFFFFF);
    const bool mono_target = target.surface.format == PixelFormat::Mono1;
    for (int ty = area.top; ty < area.bottom; ++ty) {
        const int sy = map.source_y(ty);
        for (int tx = area.left; tx < area.right; ++tx) {
            const std::uint32_t pixel = read_pixel(from.canvas.surface, map.source_x(tx), sy, rule);
            if (pixel == key) continue;
            write_pixel(target.surface, tx, ty, mono_target ? canvas_value(target, colorref_from_pixel(pixel)) : pixel);
        }
    }
    if (!area.empty()) canvas_changed(target, area);
    return TRUE;
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HBITMAP source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent) {
    if (kind_of(raw(source)) != HandleKind::Bitmap) return FALSE;
    return TransparentImage(dest, x, y, width, height, as_handle<HANDLE>(raw(source)), sourceX, sourceY, sourceWidth,
                            sourceHeight, transparent);
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent) {
    if (kind_of(raw(source)) != HandleKind::DC) return FALSE;
    return TransparentImage(dest, x, y, width, height, as_handle<HANDLE>(raw(source)), sourceX, sourceY, sourceWidth,
                            sourceHeight, transparent);
}

COLORREF GetPixel(HDC dc_handle, int x, int y) {
    const DC* dc = find_dc(dc_handle);
    const Canvas* found = dc ? resolve_canvas(*dc) : nullptr;
    if (!found) return CLR_INVALID;
    const Canvas& canvas = *found;
    const std::int64_t sx = std::int64_t{x} + canvas.origin_x, sy = std::int64_t{y} + canvas.origin_y;
    if (sx < canvas.clip.left || sx >= canvas.clip.right || sy < canvas.clip.top || sy >= canvas.clip.bottom)
        return CLR_INVALID;
    return canvas_colour(canvas, static_cast<int>(sx), static_cast<int>(sy));
}
