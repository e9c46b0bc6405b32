// Invalid areas of windows and the WM_PAINT messages they make.
#pragma once

#include "core/geometry.h"
#include "platform/window.h"
#include "window/window_table.h"

namespace platform {

// Adds an area (client coordinates, clipped to the client) to the window's invalid area.
void invalidate(Window& window, const Rect& area, bool erase);

// A WM_PAINT for a shown window with an invalid area that matches the filter.
bool take_paint_message(MSG* message, HWND filter);

}  // namespace platform
