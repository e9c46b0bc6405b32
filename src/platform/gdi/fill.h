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

RopPlan plan_rop(DWORD rop);

// Paints the DC rectangle (x, y, w, h) white, black, with `brush`, or inverts it, as `kind` says.
BOOL paint_rect(const DC& dc, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, RopPlan::Kind kind,
                std::uintptr_t brush);

}  // namespace platform::gdi
