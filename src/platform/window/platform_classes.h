// What the window module needs from the controls module above it: the platform's own window
// classes ("BUTTON", the message box, ...), which programs use without registering them. The
// window module declares it; the controls module implements it.
#pragma once

#include "platform/types.h"

namespace platform {

// Registers the platform's class of that name (in any case) if there is one and it is not
// registered yet; false when there is none.
bool register_platform_class(LPCWSTR name);

}  // namespace platform
