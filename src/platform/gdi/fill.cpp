// Brushes and the calls that fill rectangles: PatBlt and FillRect.
#include "gdi/fill.h"

#include "core/handles.h"
#include "gdi/canvas.h"
#include "platform/gdi.h"

namespace platform::gdi {

BOOL paint_rect(const DC& dc, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, RopPlan::Kind kind,
                std::uintptr_t brush_handle) {
    using Kind = RopPlan::Kind;
    const Canvas* found = resolve_canvas(dc);
    if (w < 0 || h < 0 || !found) return FALSE;
    const Canvas& canvas = *found;
    const Brush* brush = kind == Kind::Brush ? find_brush(brush_handle) : nullptr;
    if (kind == Kind::Brush && !brush) return FALSE;
    if (brush && brush->hollow) return TRUE;
    const Rect area = clip_to_canvas(canvas, x, y, w, h);
    if (area.empty()) return TRUE;
    switch (kind) {
    case Kind::White: fill_block(canvas.surface, area, canvas_value(canvas, kWhite)); break;
    case Kind::Black: fill_block(canvas.surface, area, canvas_value(canvas, kBlack)); break;
    case Kind::Brush: fill_block(canvas.surface, area, canvas_value(canvas, brush->colour)); break;
    case Kind::InvertTarget: invert_block(canvas.surface, area); break;
    default: return FALSE;
    }
    canvas_changed(canvas, area);
    return TRUE;
}

}  // namespace platform::gdi

using namespace platform;
using namespace platform::gdi;

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto brush = std::make_unique<Brush>();
    brush->colour = colour & 0xFFFFFF;
    return add_brush(std::move(brush));
}

BOOL PatBlt(HDC dc_handle, int x, int y, int width, int height, DWORD rop) {
    const DC* dc = find_dc(dc_handle);
    const RopPlan plan = plan_rop(rop);
    if (!dc || plan.kind == RopPlan::Kind::Source || plan.kind == RopPlan::Kind::Unsupported) return FALSE;
    return paint_rect(*dc, x, y, width, height, plan.kind, dc->brush);
}

int FillRect(HDC dc_handle, const RECT* rect, HBRUSH brush) {
    const DC* dc = find_dc(dc_handle);
    if (!dc || !rect || !find_brush(raw(brush))) return 0;
    const std::int64_t width = std::int64_t{rect->right} - rect->left;
    const std::int64_t height = std::int64_t{rect->bottom} - rect->top;
    if (width <= 0 || height <= 0) return 1;
    return paint_rect(*dc, rect->left, rect->top, width, height, RopPlan::Kind::Brush, raw(brush));
}
