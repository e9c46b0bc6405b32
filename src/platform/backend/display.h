// What a display backend is told of the display it is to open. Which display a process belongs to
// is the system's to find out (system/display_name.h); the backend opens what it is given.
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

struct DisplayToOpen {
    DisplayName display;
    // Something listens under the display's name; one that is named but not there is refused at once.
    bool listening = false;
};

}  // namespace platform
