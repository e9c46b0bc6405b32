// Where a device context draws at this moment: a memory DC's bitmap, or the surface of the window a
// window DC belongs to, found again whenever a selection or a window has changed.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "core/surface.h"
#include "gdi/objects.h"

namespace platform::gdi {

// Looks again where the DC draws and keeps it in the DC; null when it has nothing to draw on (the
// screen's DC, a destroyed window, no bitmap).
const Canvas* resolve_canvas_again(const DC& dc);

// Where the DC draws, null when nowhere. Inline: every stroke point draws into two DCs, whose canvas
// is looked up once and then kept until something changes.
inline const Canvas* resolve_canvas(const DC& dc) {
    if (dc.resolved_at != canvas_generation) return resolve_canvas_again(dc);
    return dc.drawable ? &dc.canvas : nullptr;
}

// The DC rectangle (x, y, w, h) in surface coordinates, cut to the canvas's clip.
Rect clip_to_canvas(const Canvas& canvas, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h);

// After drawing on a window: notes the changed surface area for presenting and lets the window
// system show it.
void window_canvas_changed(const Canvas& canvas, const Rect& area);

// After drawing: a window's drawing is shown; a bitmap's only counts the write, as stroke points
// drawn into the notepad do this dozens of times a move.
inline void canvas_changed(const Canvas& canvas, const Rect& area) {
    if (canvas.window)
        window_canvas_changed(canvas, area);
    else if (canvas.bitmap)
        ++canvas.bitmap->writes;
}

// The value that stands for `colour` on the canvas: a pixel, or on a 1-bit bitmap the bit whose
// palette colour is nearest.
std::uint32_t canvas_value(const Canvas& canvas, COLORREF colour);

// The colour of a surface pixel or bit, as GetPixel reports it.
COLORREF canvas_colour(const Canvas& canvas, int surface_x, int surface_y);

}  // namespace platform::gdi
