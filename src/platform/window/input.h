// Device input: events read from the backend into the platform's own buffer whenever the program
// calls in, the live key state, and the input messages made from the buffer when retrieved.
#pragma once

#include "platform/window.h"

namespace platform {

// Reads every device event waiting now, without waiting and without dispatching.
void pump_device_events();

// Waits up to `timeout_ms` (negative: without limit) for one device event and takes it in; false
// if none came in that time.
bool wait_device_event(int timeout_ms);

// Applies the device's focus changes and requests to come forward that were read since the last
// call; they send WM_ACTIVATE, so this runs only where the program expects messages. False if there
// were none.
bool run_pending_focus_changes();

// The oldest buffered input that becomes a message matching the filter. Input that no window can
// take (nothing enabled under the point, no focus) is dropped on the way.
bool take_input_message(MSG* message, HWND filter, UINT first, UINT last, bool remove);

// Pen, finger or mouse-button input read but not yet taken as a message.
bool pointer_input_waiting();

// The capture leaves `window` if it or a window inside it holds it.
void forget_capture(HWND window);

}  // namespace platform
