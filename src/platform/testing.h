// Hooks for tests only: what a test needs to see or to provoke that no program call gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

// Drawing objects alive now (device contexts, bitmaps, brushes, fonts), stock objects excluded.
std::size_t gdi_live_objects();

// Lowers the cap on one bitmap's pixel memory, the way a device short of memory refuses large
// blocks.
void set_pixel_memory_limit(std::int64_t bytes);

// False for any window that is not an open message box.
bool message_box_info(HWND box, std::wstring* text, std::wstring* caption);

// The screen rectangle of the box's IDOK or IDCANCEL button; false if it has no such button.
bool message_box_button(HWND box, int id, RECT* on_screen);

}  // namespace platform
