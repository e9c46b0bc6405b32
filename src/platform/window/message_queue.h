// The posted-message queue of the one GUI thread.
#pragma once

#include "platform/window.h"

namespace platform {

// Reads every device event waiting now into the platform's buffer, then presents what changed: what
// every call does that may be the program's only call for a while (the queue calls, the clock
// calls, the key state).
void read_device_events_then_present();

// A message number within a retrieval filter's range; 0 to 0 is every message.
bool in_filter_range(UINT message, UINT first, UINT last);

void post_to_queue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void drop_posted_messages(HWND window);

}  // namespace platform
