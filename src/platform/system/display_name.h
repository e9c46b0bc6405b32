// Which display this process belongs to: the one its environment names. Each display has its own
// copy of a program (the names other processes find it by include the display), and the display
// backend opens exactly this display, never an invisible stand-in.
#pragma once

#include <string>

#include "backend/display.h"

namespace platform {

// The display named by DISPLAY, or else by WAYLAND_DISPLAY (X11 first, as SDL picks it).
DisplayName display_from_environment();
// A display a person named: an X11 display when it has a colon (":1", "host:0.0"), else Wayland.
DisplayName display_named(const std::string& name);

// False when nothing listens under the display's name: no socket file and, for X11, no abstract
// socket either. A display reached over a network is taken as there.
bool display_exists(const DisplayName& display);

// The display as a backend is to be told of it.
DisplayToOpen display_to_open(const DisplayName& display);

}  // namespace platform
