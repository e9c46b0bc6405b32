// What SDL leaves out on X11. Xlib ends the whole process the moment its connection to the X server
// breaks, before anything can be saved; with this watch it returns instead and the display backend
// hears that the display is gone. And the connection's descriptor, to wait on it together with the
// backend's own wake-ups rather than inside SDL (whose wake-up on X11 writes to a second connection
// that nobody watches, so that a wake-up after the server's end would still end the process).
#pragma once

#include <SDL2/SDL_video.h>

#include <atomic>

namespace platform {

// Watches the X connection behind `window`: sets `*broken` when it breaks (the X server ended, the
// forwarding dropped) and returns the connection's descriptor. -1 when the window is not on X11.
int x11_watch_connection(SDL_Window* window, std::atomic<bool>* broken);

}  // namespace platform
