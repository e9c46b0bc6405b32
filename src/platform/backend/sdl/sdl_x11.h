// What SDL leaves out on X11. Xlib ends the whole process the moment its connection to the X server
// breaks, before anything can be saved; with this watch it returns instead and the display backend
// hears that the display is gone. And the connection's descriptor, to wait on it together with the
// backend's own wake-ups rather than inside SDL (whose wake-up on X11 writes to a second connection
// that nobody watches, so that a wake-up after the server's end would still end the process).
#pragma once

#include <SDL2/SDL_video.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

// Watches the X connection behind `window`: sets `*broken` when it breaks (the X server ended, the
// forwarding dropped) and returns the connection's descriptor. -1 when the window is not on X11.
int x11_watch_connection(SDL_Window* window, std::atomic<bool>* broken);

// An X server that resets as its last client leaves may take in a connection made at that instant
// and then never answer it, and Xlib waits for the answer without a limit. While one of these
// lives, this process's connections to `socket_path` whose opening request the server has still
// not read are cut once `patience` has passed, so that Xlib gives up as on a refusal.
class X11AnswerDeadline {
public:
    X11AnswerDeadline(std::string socket_path, std::chrono::milliseconds patience);
    ~X11AnswerDeadline();
    X11AnswerDeadline(const X11AnswerDeadline&) = delete;
    X11AnswerDeadline& operator=(const X11AnswerDeadline&) = delete;

    // A connection was cut.
    bool cut() const { return cut_; }

private:
    void watch(std::chrono::milliseconds patience);

    std::string socket_path_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::atomic<bool> cut_{false};
    std::thread thread_;
};

}  // namespace platform
