// How processes reach each other's windows: one abstract Unix socket per user, display, window class
// and window name, bound by the process that owns (or has reserved) the window, and small fixed-size
// requests over it, each answered with one byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/window.h"

namespace platform::wire {

// The socket's abstract name (without the leading NUL byte) for `uid`'s window of that class and
// name on `display` (a DisplayName's key). Different displays, classes and names give different
// sockets; names too long for an address are hashed.
std::string socket_name(unsigned uid, const std::string& display, LPCWSTR class_name, LPCWSTR window_name);

enum class Kind : std::uint32_t {
    Find = 1,   // answered once the window exists (not while its name is only reserved)
    Post = 2,   // a message for the window
    Raise = 3,  // bring the window to the foreground
};

struct Request {
    Kind kind = Kind::Find;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr std::size_t kRequestSize = 32;
void encode(const Request& request, std::uint8_t* bytes);
// False for bytes that are not a request of this version.
bool decode(const std::uint8_t* bytes, Request* request);

// The messages another process may post to a window.
bool may_post(UINT message);

constexpr std::uint8_t kYes = 1;
constexpr std::uint8_t kNo = 0;

// Socket calls on abstract names. Each returns a descriptor (close-on-exec) or -1 with errno set.
int connect_to(const std::string& name);
int bind_and_listen(const std::string& name);
// The user id of the process at the other end of a connected socket, or -1.
long peer_uid(int fd);

}  // namespace platform::wire
