// Which window is active and which has the keyboard focus, and the WM_ACTIVATE messages that go
// with changing them.
#pragma once

#include "platform/window.h"
#include "window/window_table.h"

namespace platform {

// Makes a top-level window the active one: the old one hears WA_INACTIVE with the new one as
// lParam, the new one WA_ACTIVE. The focus moves into it.
void activate(HWND top_level);

// A window is about to disappear (hidden or destroyed): activation, focus and capture leave it
// and whatever lies inside it; activation goes to its owner or the topmost other window.
void window_disappearing(Window& window);

// Called whenever another window becomes the active one, or none is: the shell's strips follow the
// active window.
void set_activation_listener(void (*listener)());

// The display's focus moved to or away from this program.
void foreground_changed(bool gained);

// SetForegroundWindow for a window of this process; `with_owned` brings the windows it owns along
// and activates the topmost of them that can take input.
bool bring_to_foreground(HWND window, bool with_owned);

}  // namespace platform
