#include "system/posix_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testing.h"

namespace platform {
namespace {
std::atomic<int> failing_flushes{0};
}

void fail_next_file_flushes(int count) { failing_flushes = count; }

namespace {

// 100-nanosecond steps since 1601, as file times count.
FILETIME file_time(const timespec& time) {
    constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600u;
    const std::uint64_t steps = (static_cast<std::uint64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000u +
                                static_cast<std::uint64_t>(time.tv_nsec) / 100u;
    return {static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
}

}  // namespace

void file_information_from_stat(const struct stat& status, BY_HANDLE_FILE_INFORMATION* information) {
    const auto device = static_cast<std::uint64_t>(status.st_dev);
    const auto index = static_cast<std::uint64_t>(status.st_ino);
    const auto size = static_cast<std::uint64_t>(status.st_size);
    information->dwFileAttributes = (status.st_mode & 0222) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    information->ftCreationTime = file_time(status.st_ctim);
    information->ftLastAccessTime = file_time(status.st_atim);
    information->ftLastWriteTime = file_time(status.st_mtim);
    // A device number does not fit a serial number; folded, two volumes of one machine still differ.
    information->dwVolumeSerialNumber = static_cast<DWORD>(device ^ (device >> 32));
    information->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    information->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    information->nNumberOfLinks = static_cast<DWORD>(status.st_nlink);
    information->nFileIndexHigh = static_cast<DWORD>(index >> 32);
    information->nFileIndexLow = static_cast<DWORD>(index & 0xFFFFFFFFu);
}

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
