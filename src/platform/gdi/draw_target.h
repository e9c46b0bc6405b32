// What the drawing module needs to know about windows: where a window's device context draws. The
// drawing module declares it; the window module, above it, implements it.
#pragma once

#include "core/surface.h"
#include "platform/window.h"

namespace platform {

struct DrawTarget {
    Surface surface;             // the pixels of the window's top-level window
    DirtyRegion* dirty;          // where changes are noted for presenting; null while not on screen
    int origin_x;                // the window's client (0, 0) in surface coordinates
    int origin_y;
    Rect clip;                   // surface coordinates: the window's area on its surface
};

// Where a device context of `window` draws now. False for a destroyed or unknown window.
bool window_draw_target(HWND window, DrawTarget* target);

// Told whenever any window's place, visibility or pixels change, or a window comes or goes: the draw
// targets found so far may be wrong from then on.
void draw_targets_changed();

// Called after drawing onto a window: presents when the display has gone a frame without one, so
// that long drawing loops are seen as they go.
void window_drew();

}  // namespace platform
