#include "system/display_name.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

using Kind = DisplayName::Kind;

// A Unix socket bound at `path` (listening or not) for as long as it lives.
class BoundSocket {
public:
    explicit BoundSocket(const std::string& path) : path_(path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
    }
    ~BoundSocket() {
        close(fd_);
        unlink(path_.c_str());
    }

private:
    std::string path_;
    int fd_;
};

TEST(DisplayName, OneX11DisplayHowEverItIsWrittenAndNothingForNonsense) {
    for (const char* same : {":7", ":7.0", "unix:7", "unix:7.1"}) {
        const DisplayName d = display_named(same);
        EXPECT_EQ(d.kind, Kind::X11) << same;
        EXPECT_EQ(d.key, "x11:7") << same;
        EXPECT_EQ(d.socket_path, "/tmp/.X11-unix/X7") << same;
        EXPECT_EQ(d.name, same);
    }
    const DisplayName forwarded = display_named("localhost:10.0");
    EXPECT_EQ(forwarded.key, "x11:localhost:10");
    EXPECT_TRUE(forwarded.socket_path.empty());
    EXPECT_TRUE(display_exists(forwarded)) << "a display over the network cannot be looked at beforehand";
    for (const char* nonsense : {":", "host:", ":x", ":7x", ""}) EXPECT_EQ(display_named(nonsense).kind, Kind::None) << nonsense;
}

TEST(DisplayName, AWaylandDisplayLivesInTheRuntimeFolderUnlessItIsAPath) {
    setenv("XDG_RUNTIME_DIR", "/run/user/5", 1);
    EXPECT_EQ(display_named("wayland-1").key, "wayland:/run/user/5/wayland-1");
    EXPECT_EQ(display_named("/tmp/w/sock").socket_path, "/tmp/w/sock");
    unsetenv("XDG_RUNTIME_DIR");
    const DisplayName nowhere = display_named("wayland-1");
    EXPECT_EQ(nowhere.kind, Kind::Wayland);
    EXPECT_FALSE(display_exists(nowhere));
}

// X11 first, as SDL picks it, but a display that is not there gives way to one that is.
TEST(DisplayName, TheEnvironmentNamesTheDisplayThatIsThere) {
    char folder[] = "/tmp/display-name-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string wayland = std::string(folder) + "/wayland-test";
    setenv("XDG_RUNTIME_DIR", folder, 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    setenv("DISPLAY", ":65000", 1);  // no X server has that number
    EXPECT_EQ(display_from_environment().kind, Kind::X11) << "neither is there: the first named";
    EXPECT_FALSE(display_exists(display_from_environment()));
    {
        const BoundSocket listening(wayland);
        EXPECT_EQ(display_from_environment().kind, Kind::Wayland);
        EXPECT_TRUE(display_exists(display_from_environment()));
        unsetenv("DISPLAY");
        EXPECT_EQ(display_from_environment().name, "wayland-test");
    }
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(display_from_environment().kind, Kind::None);
    rmdir(folder);
}

}  // namespace
}  // namespace platform
