// The messages posted to the GUI thread's windows, waiting to be retrieved.
#pragma once

#include "platform/window.h"

namespace platform {

// A message number within a retrieval filter's range; 0 to 0 is every message.
bool in_filter_range(UINT message, UINT first, UINT last);

void post_to_queue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void drop_posted_messages(HWND window);

// The oldest posted message for `filter` (null: any window) within the range.
bool take_posted(MSG* message, HWND filter, UINT first, UINT last);

}  // namespace platform
