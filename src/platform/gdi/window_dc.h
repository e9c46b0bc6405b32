// What the window module needs from the drawing module: device contexts of windows.
#pragma once

#include "core/geometry.h"
#include "platform/types.h"

namespace platform {

// A device context that draws on `window`, clipped to `clip` (client coordinates) when given.
// A null window gives the screen's device context, which answers GetDeviceCaps and draws nothing.
HDC dc_open_window(HWND window, const Rect* clip);

// Whether `dc` is a DC opened on `window`: false for memory DCs, other windows and stale handles.
bool dc_is_window_dc(HDC dc, HWND window);

// Releases a DC opened with dc_open_window; false for any other handle.
bool dc_close_window(HDC dc);

}  // namespace platform
