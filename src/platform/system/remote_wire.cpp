#include "system/remote_wire.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <type_traits>

namespace platform::wire {
namespace {

constexpr std::uint32_t kMagic = 0x53435256;  // identifies requests of this version
constexpr char kHex[] = "0123456789abcdef";

// Printable ASCII stays readable (the names show as they are in the socket tables); '/' and '%',
// which would make two different sets of names alike, and everything else become %XXXXXXXX.
template <typename Char>
void append_escaped(std::string* out, const Char* text) {
    for (; *text != 0; ++text) {
        const auto c = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Char>>(*text));
        if (c >= 0x20 && c < 0x7F && c != '/' && c != '%') {
            out->push_back(static_cast<char>(c));
            continue;
        }
        out->push_back('%');
        for (int shift = 28; shift >= 0; shift -= 4) out->push_back(kHex[(c >> shift) & 0xF]);
    }
}

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

void put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void put64(std::uint8_t* at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t get32(const std::uint8_t* at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}
std::uint64_t get64(const std::uint8_t* at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

socklen_t address_of(const std::string& name, sockaddr_un* address) {
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    // Abstract names start with a NUL byte and vanish with the last socket bound to them, so a
    // process that dies leaves nothing behind.
    std::memcpy(address->sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

}  // namespace

std::string socket_name(unsigned uid, const std::string& display, LPCWSTR class_name, LPCWSTR window_name) {
    const std::string prefix = "scrivo-window/" + std::to_string(uid) + "/";
    std::string names;
    append_escaped(&names, display.c_str());
    names.push_back('/');
    append_escaped(&names, class_name);
    names.push_back('/');
    append_escaped(&names, window_name);
    constexpr std::size_t room = sizeof(sockaddr_un::sun_path) - 1;
    if (prefix.size() + names.size() <= room) return prefix + names;
    std::string hashed = prefix + "#";
    const std::uint64_t hash = fnv1a(names);
    for (int shift = 60; shift >= 0; shift -= 4) hashed.push_back(kHex[(hash >> shift) & 0xF]);
    return hashed;
}

void encode(const Request& request, std::uint8_t* bytes) {
    put32(bytes, kMagic);
    put32(bytes + 4, static_cast<std::uint32_t>(request.kind));
    put32(bytes + 8, request.message);
    put32(bytes + 12, 0);
    put64(bytes + 16, request.wParam);
    put64(bytes + 24, static_cast<std::uint64_t>(request.lParam));
}

bool decode(const std::uint8_t* bytes, Request* request) {
    if (get32(bytes) != kMagic || get32(bytes + 12) != 0) return false;
    const std::uint32_t kind = get32(bytes + 4);
    if (kind < static_cast<std::uint32_t>(Kind::Find) || kind > static_cast<std::uint32_t>(Kind::Raise)) return false;
    request->kind = static_cast<Kind>(kind);
    request->message = get32(bytes + 8);
    request->wParam = static_cast<WPARAM>(get64(bytes + 16));
    request->lParam = static_cast<LPARAM>(get64(bytes + 24));
    return true;
}

bool may_post(UINT message) {
    return message == WM_CLOSE || message == WM_HIBERNATE || message == WM_COMMAND || message == WM_APP;
}

int connect_to(const std::string& name) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_un address;
    const socklen_t length = address_of(name, &address);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int bind_and_listen(const std::string& name) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_un address;
    const socklen_t length = address_of(name, &address);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || listen(fd, 16) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

long peer_uid(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return -1;
    return static_cast<long>(credentials.uid);
}

}  // namespace platform::wire
