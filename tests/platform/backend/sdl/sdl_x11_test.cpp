#include "backend/sdl/sdl_x11.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

using std::chrono::milliseconds;

// A listening socket standing for an X server, and clients connected to it that have sent their
// opening request.
class FakeServer {
public:
    FakeServer() {
        char folder[] = "/tmp/x11-deadline-XXXXXX";
        EXPECT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
        path = folder_ + "/X0";
        sockaddr_un address = address_of(path);
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(listener_, 8), 0);
    }
    ~FakeServer() {
        close(listener_);
        unlink(path.c_str());
        rmdir(folder_.c_str());
    }

    // A client whose request the server takes in (`read`) or leaves unread.
    int client(bool read) {
        const sockaddr_un address = address_of(path);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        // A deadline that never cuts fails the test instead of hanging it.
        const timeval patience{10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
        const char request[12] = {'l', 0, 11};
        EXPECT_EQ(send(fd, request, sizeof request, 0), static_cast<ssize_t>(sizeof request));
        const int served = accept(listener_, nullptr, nullptr);
        if (read) {
            char taken[sizeof request];
            EXPECT_EQ(recv(served, taken, sizeof taken, MSG_WAITALL), static_cast<ssize_t>(sizeof taken));
        }
        return fd;
    }

    std::string path;

private:
    static sockaddr_un address_of(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        return address;
    }

    std::string folder_;
    int listener_ = -1;
};

bool still_open(int fd) {
    const char byte = 0;
    return send(fd, &byte, 1, MSG_NOSIGNAL) == 1;
}

TEST(X11AnswerDeadline, CutsOnlyWhatTheServerNeverReadAndOnlyOnceItsPatienceIsOver) {
    FakeServer server;
    const int served = server.client(true);
    const int forgotten = server.client(false);
    {
        const X11AnswerDeadline ended_early(server.path, milliseconds(60000));
        EXPECT_FALSE(ended_early.cut());
    }
    EXPECT_TRUE(still_open(forgotten)) << "cut before its time";

    const X11AnswerDeadline deadline(server.path, milliseconds(20));
    char byte = 0;
    // Waiting for an answer that never comes ends when the connection is cut, as Xlib's wait does.
    EXPECT_EQ(recv(forgotten, &byte, 1, 0), 0);
    EXPECT_TRUE(deadline.cut());
    EXPECT_TRUE(still_open(served));
    close(served);
    close(forgotten);
}

}  // namespace
}  // namespace platform
