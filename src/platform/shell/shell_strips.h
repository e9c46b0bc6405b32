// The strips the shell keeps at the top and bottom of the screen.
#pragma once

namespace platform {

// The height of the navigation bar at the top and of a menu bar at the bottom.
int strip_height();

}  // namespace platform
