// The pointer capture: the window that receives every pointer message while it holds it.
#pragma once

#include "platform/window.h"

namespace platform {

// The capture leaves `window` if it or a window inside it holds it.
void forget_capture(HWND window);

}  // namespace platform
