// Which window a point on the screen falls on.
#pragma once

#include "platform/window.h"

namespace platform {

// The window a tap at a screen point goes to: the deepest visible, enabled window there. A tap
// never passes through a window: on a disabled one (the owner of a modal box) it goes nowhere.
HWND window_at(int x, int y);

}  // namespace platform
