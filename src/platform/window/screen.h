// The screen: visible top-level surfaces composed in z-order into the backend's framebuffer, and
// only the areas that changed presented.
#pragma once

#include "core/geometry.h"
#include "window/window_table.h"

namespace platform {

// Gives a top-level window a surface of its rectangle's size, keeping what fits of the old one.
void fit_surface(Window& top_level);

// An area of the screen (screen coordinates) whose content changed without any surface changing:
// a window appeared, went or moved there.
void screen_expose(const Rect& area);

// Composes and presents whatever changed since the last time; cheap when nothing did.
void present_changes();

}  // namespace platform
