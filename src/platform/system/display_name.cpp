#include "system/display_name.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "system/remote_wire.h"

namespace platform {
namespace {

constexpr std::string_view kX11SocketFolder = "/tmp/.X11-unix/X";

bool all_digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "[host]:number[.screen]"; the screen does not matter, a program covers the whole display.
DisplayName x11_display(const std::string& name) {
    const std::size_t colon = name.rfind(':');
    if (colon == std::string::npos) return {};
    const std::string_view host = std::string_view(name).substr(0, colon);
    std::string_view number = std::string_view(name).substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (!all_digits(number)) return {};
    DisplayName display{DisplayName::Kind::X11, name, {}, {}};
    if (host.empty() || host == "unix") {
        display.key = "x11:" + std::string(number);
        display.socket_path = std::string(kX11SocketFolder) + std::string(number);
    } else {
        display.key = "x11:" + std::string(host) + ":" + std::string(number);
    }
    return display;
}

DisplayName wayland_display(const std::string& name) {
    if (name.empty()) return {};
    DisplayName display{DisplayName::Kind::Wayland, name, {}, {}};
    if (name.front() == '/') {
        display.socket_path = name;
    } else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != 0) {
        display.socket_path = std::string(runtime) + "/" + name;
    }
    display.key = "wayland:" + (display.socket_path.empty() ? name : display.socket_path);
    return display;
}

std::string environment(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? value : "";
}

bool is_socket(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

}  // namespace

DisplayName display_named(const std::string& name) {
    return name.find(':') != std::string::npos ? x11_display(name) : wayland_display(name);
}

DisplayName display_from_environment() {
    const DisplayName x11 = x11_display(environment("DISPLAY"));
    const DisplayName wayland = wayland_display(environment("WAYLAND_DISPLAY"));
    if (display_exists(x11) || (x11.kind != DisplayName::Kind::None && !display_exists(wayland))) return x11;
    return wayland;
}

bool display_exists(const DisplayName& display) {
    if (display.kind == DisplayName::Kind::None) return false;
    if (display.socket_path.empty()) return display.kind == DisplayName::Kind::X11;
    if (is_socket(display.socket_path)) return true;
    if (display.kind != DisplayName::Kind::X11) return false;
    // X servers on Linux also listen on an abstract socket of the file's name, which outlives a
    // cleaned /tmp; asking it is the only way to see it.
    const int fd = wire::connect_to(display.socket_path);
    if (fd < 0) return false;
    close(fd);
    return true;
}

DisplayToOpen display_to_open(const DisplayName& display) { return {display, display_exists(display)}; }

}  // namespace platform
