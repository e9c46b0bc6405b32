// What SDL leaves out on X11. Xlib ends the whole process the moment its connection to the X server
// breaks, before anything can be saved; with this watch it returns instead and the display backend
// hears that the display is gone. The connection's descriptor, to wait on it together with the
// backend's own wake-ups rather than inside SDL (whose wake-up on X11 writes to a second connection
// that nobody watches, so that a wake-up after the server's end would still end the process). And
// a safe way onto an X server that resets when its last client leaves.
#pragma once

#include <SDL2/SDL_video.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct _XDisplay;  // Xlib's connection

namespace platform {

// Watches the X connection behind `window`: sets `*broken` when it breaks (the X server ended, the
// forwarding dropped) and returns the connection's descriptor. -1 when the window is not on X11.
int x11_watch_connection(SDL_Window* window, std::atomic<bool>* broken);

// True when `window` is on an X server where no window manager has said it runs (none sets the root
// window's _NET_SUPPORTING_WM_CHECK): nobody would answer a request for full screen, and SDL waits a
// tenth of a second for that answer when the window is first shown.
bool x11_without_window_manager(SDL_Window* window);

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

// A connection of the process's own to the X server `name`, held while SDL opens its two. An X
// server that resets when its last client leaves (as one started by hand or by startx does) drops,
// or takes in and never answers, a connection made at the instant a last client went; SDL would
// then fall back to its invisible offscreen driver, wait for ever, or end the process. Once this
// connection has had a request answered the server has a client and does not reset under SDL's.
// One not answered within `patience` is cut (`socket_path` names the server's socket; empty: over
// the network, not cut). From here on Xlib no longer ends the process on a broken connection of
// its own accord: the connections the platform watches say so instead.
class X11Hold {
public:
    X11Hold(const std::string& name, const std::string& socket_path, std::chrono::milliseconds patience);
    ~X11Hold();
    X11Hold(const X11Hold&) = delete;
    X11Hold& operator=(const X11Hold&) = delete;

    bool held() const { return display_ != nullptr; }
    // Taken in but never answered, and so cut.
    bool unanswered() const { return unanswered_; }

private:
    _XDisplay* display_ = nullptr;
    bool unanswered_ = false;
    std::atomic<bool> broken_{false};
};

}  // namespace platform
