// What the window module needs from the modules above it: the platform's own window classes
// ("BUTTON", the message box, the shell's strips, ...), which programs use without registering
// them. The window module declares it; the shell, above the controls, implements it.
#pragma once

#include "platform/types.h"

namespace platform {

// Registers the platform's class of that name (in any case) if there is one and it is not
// registered yet; false when there is none.
bool register_platform_class(LPCWSTR name);

}  // namespace platform
