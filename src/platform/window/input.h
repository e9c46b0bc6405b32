// What the message queue asks of input: the messages made from the device buffer and the focus
// changes it holds. The buffer itself (reading, waiting, key state) is window/device_buffer.h.
#pragma once

#include "platform/window.h"

namespace platform {

// Applies the device's focus changes and requests to come forward that were read since the last
// call; they send WM_ACTIVATE, so this runs only where the program expects messages. False if there
// were none.
bool run_pending_focus_changes();

// The oldest buffered input that becomes a message matching the filter. Input that no window can
// take (nothing enabled under the point, no focus) is dropped on the way.
bool take_input_message(MSG* message, HWND filter, UINT first, UINT last);

}  // namespace platform
