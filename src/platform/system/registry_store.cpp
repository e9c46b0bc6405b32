#include "system/registry_store.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/errors.h"
#include "system/module.h"
#include "system/paths.h"
#include "system/posix_io.h"
#include "system/user_folders.h"

namespace platform {
namespace {

constexpr const char* kFileName = "registry.reg";
constexpr const char* kLockName = "registry.reg.lock";
// New files are written under this prefix and renamed over the registry file; one left by a crash
// is removed by the next change.
constexpr std::string_view kTemporaryPrefix = "registry.reg.new-";

std::optional<std::string> registry_folder() {
    const auto config = config_folder();
    const auto program = program_path();
    if (!config || !program) return std::nullopt;
    return *config + "/" + file_name_of(*program);
}

void remove_stale_temporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir))
        if (std::string_view(entry->d_name).starts_with(kTemporaryPrefix)) unlinkat(dirfd(dir), entry->d_name, 0);
    closedir(dir);
}

// Writes `text` to a new file beside the registry file and renames it over that file. Returns the
// error that stopped it, having removed the new file.
LONG replace_file(const std::string& folder, const std::string& text) {
    std::string temporary = folder + "/" + std::string(kTemporaryPrefix) + "XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return static_cast<LONG>(error_from_errno(errno));
    bool ok = write_fully(fd, text.data(), text.size(), nullptr) && fsync(fd) == 0;
    int err = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && rename(temporary.c_str(), (folder + "/" + kFileName).c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return static_cast<LONG>(error_from_errno(err));
    }
    // The new file is in place; a folder that cannot be synced only makes it less certain to
    // survive a power cut, which is no reason to call the change lost.
    sync_folder(folder);
    return ERROR_SUCCESS;
}

class FileLock {
public:
    explicit FileLock(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            close(fd_);
            fd_ = -1;
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() {
        if (fd_ >= 0) close(fd_);
    }
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

// The registry in the file at `path`: empty when there is no file, nothing when there is one that
// cannot be read. `*whole` tells whether all of the file was read.
std::optional<RegistryDocument> read_document(const std::string& path, bool* whole) {
    auto text = read_file_prefix(path, kLargestRegistryFile + 1);
    *whole = true;
    if (!text) {
        if (errno == ENOENT) return RegistryDocument{};
        return std::nullopt;
    }
    *whole = text->size() <= kLargestRegistryFile;
    if (!*whole) {
        // Cut at the cap: the line it runs through is incomplete, so it goes too.
        text->resize(kLargestRegistryFile);
        const std::size_t last_newline = text->rfind('\n');
        text->resize(last_newline == std::string::npos ? 0 : last_newline + 1);
    }
    return parse_registry(*text);
}

}  // namespace

std::optional<std::string> registry_file_path() {
    const auto folder = registry_folder();
    if (!folder) return std::nullopt;
    return *folder + "/" + kFileName;
}

RegistryDocument registry_read() {
    const auto path = registry_file_path();
    if (!path) return {};
    bool whole = true;
    auto document = read_document(*path, &whole);
    return document ? std::move(*document) : RegistryDocument{};
}

LONG registry_update(const std::function<LONG(RegistryDocument&)>& edit, RegistryDocument* after) {
    const auto folder = registry_folder();
    if (!folder) return ERROR_PATH_NOT_FOUND;
    if (!make_folders(*folder)) return static_cast<LONG>(error_from_errno(errno));
    const FileLock lock(*folder + "/" + kLockName);
    if (!lock.held()) return static_cast<LONG>(error_from_errno(errno));
    remove_stale_temporaries(*folder);
    // A file that is there but cannot be read, or was too long to read whole, is not replaced by
    // one that holds only this change or only the part that was read.
    bool whole = true;
    auto current = read_document(*folder + "/" + kFileName, &whole);
    if (!current || !whole) return ERROR_CANTREAD;
    *after = std::move(*current);
    const LONG result = edit(*after);
    if (result != ERROR_SUCCESS) return result;
    const std::string text = format_registry(*after);
    // Never write what the next read would cut short.
    if (text.size() > kLargestRegistryFile) return ERROR_CANTWRITE;
    return replace_file(*folder, text);
}

}  // namespace platform
