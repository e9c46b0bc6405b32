// Filling and inverting rectangles of a device context, and what a raster-operation code asks for.
#pragma once

#include <cstdint>

#include "gdi/objects.h"
#include "gdi/raster.h"

namespace platform::gdi {

struct RopPlan {
    enum class Kind { Source, White, Black, Brush, InvertTarget, Unsupported };
    Kind kind = Kind::Unsupported;
    RasterOp op = RasterOp::Copy;  // how a source combines with the target, for Kind::Source
};

inline RopPlan plan_rop(DWORD rop) {
    using Kind = RopPlan::Kind;
    switch (rop) {
    case SRCCOPY: return {Kind::Source, RasterOp::Copy};
    case NOTSRCCOPY: return {Kind::Source, RasterOp::NotCopy};
    case SRCAND: return {Kind::Source, RasterOp::And};
    case SRCPAINT: return {Kind::Source, RasterOp::Paint};
    case SRCINVERT: return {Kind::Source, RasterOp::Invert};
    case WHITENESS: return {Kind::White};
    case BLACKNESS: return {Kind::Black};
    case PATCOPY: return {Kind::Brush};
    case DSTINVERT: return {Kind::InvertTarget};
    default: return {};
    }
}

// Paints the DC rectangle (x, y, w, h) white, black, with `brush`, or inverts it, as `kind` says.
BOOL paint_rect(const DC& dc, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, RopPlan::Kind kind,
                std::uintptr_t brush);

}  // namespace platform::gdi
