// SDL key codes to the virtual-key codes of keyboard messages.
#pragma once

#include <SDL2/SDL_keycode.h>

namespace platform {

// The virtual key for an SDL key code, or 0 for a key the platform does not report.
int virtual_key_from_sdl(SDL_Keycode key);

}  // namespace platform
