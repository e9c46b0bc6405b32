#include "system/posix_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testing.h"

namespace platform {
namespace {
std::atomic<int> failing_flushes{0};
}

void fail_next_file_flushes(int count) { failing_flushes = count; }

bool sync_file(int fd) {
    for (int left = failing_flushes.load(); left > 0;) {
        if (failing_flushes.compare_exchange_weak(left, left - 1)) {
            errno = EIO;
            return false;
        }
    }
    return fsync(fd) == 0;
}

bool write_fully(int fd, const void* data, std::size_t size, std::size_t* done) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t sent = 0;
    bool ok = true;
    while (sent < size) {
        const ssize_t n = write(fd, bytes + sent, size - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            ok = false;
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    if (done) *done = sent;
    return ok;
}

bool read_fully(int fd, void* data, std::size_t size, std::size_t* done) {
    auto* bytes = static_cast<char*>(data);
    std::size_t got = 0;
    bool ok = true;
    while (got < size) {
        const ssize_t n = read(fd, bytes + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (done) *done = got;
    return ok;
}

std::optional<std::string> read_file_prefix(const std::string& path, std::size_t cap) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (fstat(fd, &info) != 0) info.st_size = 0;
    // One byte more than the file holds, so that a file that did not grow meanwhile ends in one pass.
    std::size_t want = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) + 1 : 4096;
    std::string text;
    std::size_t have = 0;
    for (;;) {
        want = std::min(want, cap);
        text.resize(want);
        std::size_t got = 0;
        if (!read_fully(fd, text.data() + have, want - have, &got)) {
            const int saved = errno;
            close(fd);
            errno = saved;
            return std::nullopt;
        }
        have += got;
        if (have < want || want == cap) break;
        want *= 2;
    }
    close(fd);
    text.resize(have);
    return text;
}

bool sync_folder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    const int saved = errno;
    close(fd);
    errno = saved;
    return ok;
}

}  // namespace platform
