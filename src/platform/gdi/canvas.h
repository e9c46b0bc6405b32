// Where a device context draws at this moment: a memory DC's bitmap, or the surface of the window a
// window DC belongs to, found again at every call since windows move, hide and go away.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "core/surface.h"
#include "gdi/objects.h"

namespace platform::gdi {

struct Canvas {
    Surface surface;
    int origin_x = 0;  // the DC's (0, 0) in surface coordinates
    int origin_y = 0;
    Rect clip;         // surface coordinates
    DirtyRegion* dirty = nullptr;
    bool window = false;
    const COLORREF* palette = nullptr;  // 1-bit bitmaps: the colours of bit 0 and bit 1
};

// A window DC's canvas; false when it has nothing to draw on (the screen's DC, a destroyed window).
bool resolve_window_canvas(const DC& dc, Canvas* canvas);

// False when the DC has nothing to draw on. Inline for memory DCs, which every stroke point draws
// into.
inline bool resolve_canvas(const DC& dc, Canvas* canvas) {
    if (dc.window) return resolve_window_canvas(dc, canvas);
    const Bitmap* bitmap = dc.selected;
    if (!bitmap) return false;
    *canvas = {bitmap->surface, 0, 0, bitmap->surface.bounds(), nullptr, false,
               bitmap->surface.format == PixelFormat::Mono1 ? bitmap->palette : nullptr};
    return true;
}

// The DC rectangle (x, y, w, h) in surface coordinates, cut to the canvas's clip.
Rect clip_to_canvas(const Canvas& canvas, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h);

// After drawing on a window: notes the changed surface area for presenting and lets the window
// system show it.
void window_canvas_changed(const Canvas& canvas, const Rect& area);

// After drawing: only a window's drawing is shown, and stroke points drawn into bitmaps skip the call.
inline void canvas_changed(const Canvas& canvas, const Rect& area) {
    if (canvas.window) window_canvas_changed(canvas, area);
}

// The value that stands for `colour` on the canvas: a pixel, or on a 1-bit bitmap the bit whose
// palette colour is nearest.
std::uint32_t canvas_value(const Canvas& canvas, COLORREF colour);

// The colour of a surface pixel or bit, as GetPixel reports it.
COLORREF canvas_colour(const Canvas& canvas, int surface_x, int surface_y);

}  // namespace platform::gdi
