// Window and thread timers on the platform clock.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace platform {

// The due timer that matches the filter, earliest first; taking it starts its next period.
bool take_due_timer(MSG* message, HWND filter);

// Milliseconds until the next timer matching the filter is due (0 if one is due), -1 if none.
std::int64_t ms_until_next_timer(HWND filter);

// The procedure a live timer was set with, or null.
TIMERPROC timer_proc(HWND window, UINT_PTR id);

void kill_window_timers(HWND window);

}  // namespace platform
