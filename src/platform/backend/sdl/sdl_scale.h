// The scale the desktop asks for, from the environment and the X resources.
#pragma once

#include <SDL2/SDL_video.h>

#include <string>

namespace platform {

// The chrome scale the desktop asks for: SCRIVO_SCALE, else GDK_SCALE, else the X resource Xft.dpi
// over 96, rounded (96 itself is what X says without any setting, so it says nothing). 0 when none
// of them says anything. A SCRIVO_SCALE that is not a whole number from 1 to kLargestScale is
// passed over, with the reason in `complaint`. Any argument may be null.
int sdl_desktop_scale(const char* scrivo_scale, const char* gdk_scale, const char* x_resources,
                      std::string* complaint);

// The X resource database of the display `window` is on, as text; null off X or when there is none.
const char* sdl_x_resources(SDL_Window* window);

}  // namespace platform
