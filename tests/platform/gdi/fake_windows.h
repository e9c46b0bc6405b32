// Stand-in windows for the drawing tests, until the window module provides real ones: each
// top-level window owns a 32-bit surface, and a child draws into its parent's surface at its place.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "core/surface.h"
#include "platform/types.h"

namespace gdi_test {

HWND fake_window(int width, int height);
HWND fake_child(HWND parent, int x, int y, int width, int height);
void fake_destroy(HWND window);
// Moves a window on its surface, as a window can move between two drawing calls.
void fake_move(HWND window, int x, int y);

// The pixels (0x00RRGGBB) of the surface the window draws on, row after row, and its width.
std::uint32_t* fake_pixels(HWND window);
int fake_surface_width(HWND window);
platform::DirtyRegion& fake_dirty(HWND window);
int fake_drew_count();

}  // namespace gdi_test
