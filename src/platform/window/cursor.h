// The pointer on the screen: shown while a mouse is in use, in the look of the window under it,
// and hidden as soon as a pen or a finger is used, as a pen device has no pointer.
#pragma once

#include "backend/backend.h"
#include "platform/window.h"

namespace platform {

// A pointer event from `source` over `window` (null: over no window of this program).
void pointer_seen(PointerSource source, HWND window);

}  // namespace platform
