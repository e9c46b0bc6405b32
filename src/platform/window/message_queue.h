// The posted-message queue of the one GUI thread.
#pragma once

#include "platform/types.h"

namespace platform {

// A message number within a retrieval filter's range; 0 to 0 is every message.
bool in_filter_range(UINT message, UINT first, UINT last);

void post_to_queue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void drop_posted_messages(HWND window);

}  // namespace platform
