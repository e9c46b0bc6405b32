// SDL key codes to the virtual-key codes of keyboard messages.
#pragma once

#include <SDL2/SDL_keycode.h>

namespace platform {

// The virtual key for an SDL key code, or 0 for a key the platform does not report. The keypad's
// keys are digits while Num Lock is on, and arrows, Home, End and the like while it is off.
int virtual_key_from_sdl(SDL_Keycode key, bool num_lock);

}  // namespace platform
