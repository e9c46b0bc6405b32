#include "backend/sdl/sdl_keys.h"

#include "platform/window.h"

namespace platform {

namespace {

// The keypad's 1 to 9 and 0 without Num Lock.
constexpr int kKeypadMoves[10] = {VK_INSERT, VK_END, VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR, VK_RIGHT, VK_HOME, VK_UP, VK_PRIOR};

}  // namespace

int virtual_key_from_sdl(SDL_Keycode key, bool num_lock) {
    // Letters and digits: SDL reports the unshifted character, virtual keys are the upper-case
    // letter and the digit.
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    // SDL numbers the keypad 1 to 9, then 0.
    if (key >= SDLK_KP_1 && key <= SDLK_KP_0) {
        const int digit = key == SDLK_KP_0 ? 0 : 1 + (key - SDLK_KP_1);
        return num_lock ? VK_NUMPAD0 + digit : kKeypadMoves[digit];
    }
    if (key == SDLK_KP_PERIOD) return num_lock ? VK_DECIMAL : VK_DELETE;
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB:
    case SDLK_KP_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_APPLICATION:
    case SDLK_MENU: return VK_APPS;
    // Both keys of a pair report the generic key, as the keyboard messages do.
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
    }
}

}  // namespace platform
