#include "backend/sdl/sdl_x11.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

namespace platform {
namespace {

// For every connection: says nothing and returns, so that the connection's own exit handler decides.
int connection_error(Display*) { return 0; }

void connection_broken(Display*, void* broken) { static_cast<std::atomic<bool>*>(broken)->store(true); }

}  // namespace

int x11_watch_connection(SDL_Window* window, std::atomic<bool>* broken) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return -1;
    XSetIOErrorHandler(connection_error);
    XSetIOErrorExitHandler(info.info.x11.display, connection_broken, broken);
    return ConnectionNumber(info.info.x11.display);
}

}  // namespace platform
