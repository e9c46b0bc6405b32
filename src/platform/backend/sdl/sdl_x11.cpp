#include "backend/sdl/sdl_x11.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

namespace platform {
namespace {

// For every connection: says nothing and returns, so that the connection's own exit handler decides.
int connection_error(Display*) { return 0; }

void connection_broken(Display*, void* broken) { static_cast<std::atomic<bool>*>(broken)->store(true); }

// The name of the socket at the other end of `fd`, for a Unix socket: a path, or an abstract name
// (which X servers on Linux give the path of their socket file).
bool peer_path(int fd, std::string* path) {
    sockaddr_un peer{};
    socklen_t length = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sun_family != AF_UNIX) return false;
    const std::size_t size = length - offsetof(sockaddr_un, sun_path);
    if (size > 0 && peer.sun_path[0] == 0) {
        path->assign(peer.sun_path + 1, size - 1);
    } else {
        path->assign(peer.sun_path, strnlen(peer.sun_path, size));
    }
    return true;
}

// Shuts down every connection of this process to `socket_path` with bytes the server never read.
// `cut` is set before each shutdown: whoever wakes from the cut connection must already see it.
void cut_unanswered(const std::string& socket_path, std::atomic<bool>* cut) {
    DIR* folder = opendir("/proc/self/fd");
    if (folder == nullptr) return;
    while (const dirent* entry = readdir(folder)) {
        const int fd = std::atoi(entry->d_name);
        std::string path;
        int unread = 0;
        if (fd == dirfd(folder) || !peer_path(fd, &path) || path != socket_path) continue;
        if (ioctl(fd, TIOCOUTQ, &unread) != 0 || unread == 0) continue;
        const bool was_cut = cut->exchange(true);
        if (shutdown(fd, SHUT_RDWR) != 0 && !was_cut) *cut = false;
    }
    closedir(folder);
}

}  // namespace

int x11_watch_connection(SDL_Window* window, std::atomic<bool>* broken) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return -1;
    XSetIOErrorHandler(connection_error);
    XSetIOErrorExitHandler(info.info.x11.display, connection_broken, broken);
    return ConnectionNumber(info.info.x11.display);
}

bool x11_without_window_manager(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return true;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* value = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType,
                                          &type, &format, &items, &after, &value);
    if (value != nullptr) XFree(value);
    return status == Success && items == 0;
}

X11AnswerDeadline::X11AnswerDeadline(std::string socket_path, std::chrono::milliseconds patience)
    : socket_path_(std::move(socket_path)), thread_([this, patience] { watch(patience); }) {}

X11AnswerDeadline::~X11AnswerDeadline() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_one();
    thread_.join();
}

void X11AnswerDeadline::watch(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    if (stopped_.wait_for(lock, patience, [this] { return stopping_; })) return;
    cut_unanswered(socket_path_, &cut_);
}

X11Hold::X11Hold(const std::string& name, const std::string& socket_path, std::chrono::milliseconds patience) {
    XSetIOErrorHandler(connection_error);
    std::optional<X11AnswerDeadline> deadline;
    if (!socket_path.empty()) deadline.emplace(socket_path, patience);
    display_ = XOpenDisplay(name.c_str());
    unanswered_ = display_ == nullptr && deadline && deadline->cut();
    deadline.reset();
    if (display_ == nullptr) return;
    // A server that answered at the instant its reset began drops the connection right after; a
    // request it answers as well comes after that instant.
    XSetIOErrorExitHandler(display_, connection_broken, &broken_);
    XSync(display_, False);
    if (!broken_) return;
    XCloseDisplay(display_);
    display_ = nullptr;
}

X11Hold::~X11Hold() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

}  // namespace platform
