// The message box's internals that tests and robots need: which window is a box, what it says and
// where its buttons are.
#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

// False for any window that is not an open message box.
bool message_box_info(HWND box, std::wstring* text, std::wstring* caption);

// The screen rectangle of the box's IDOK or IDCANCEL button; false if it has no such button.
bool message_box_button(HWND box, int id, RECT* on_screen);

}  // namespace platform
