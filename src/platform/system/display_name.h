// Which display this process belongs to: the one its environment names. Each display has its own
// copy of a program (the names other processes find it by include the display), and the display
// backend opens exactly this display, never an invisible stand-in.
#pragma once

#include <string>

namespace platform {

struct DisplayName {
    enum class Kind { None, X11, Wayland };
    Kind kind = Kind::None;
    // As a person names it: ":1", "localhost:10.0", "wayland-0".
    std::string name;
    // The same display however it was written (":1", ":1.0" and "unix:1" alike), for naming things
    // that belong to it; empty for none.
    std::string key;
    // The socket to reach it by; empty when it is reached over a network.
    std::string socket_path;
};

// The display named by DISPLAY, or else by WAYLAND_DISPLAY (X11 first, as SDL picks it).
DisplayName display_from_environment();
// A display a person named: an X11 display when it has a colon (":1", "host:0.0"), else Wayland.
DisplayName display_named(const std::string& name);

// False when nothing listens under the display's name: no socket file and, for X11, no abstract
// socket either. A display reached over a network is taken as there.
bool display_exists(const DisplayName& display);

}  // namespace platform
