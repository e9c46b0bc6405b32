// Plain files: open, write, flush and close without the handle table, for threads other than the
// GUI thread.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system.h"
#include "system/errors.h"
#include "system/paths.h"
#include "system/posix_io.h"

struct PLAINFILE {
    int fd;
};

namespace {

constexpr mode_t NewFileMode = 0644;

// Gives a new file the permission bits, owner and group of `model`. A user may not give a file
// away, so an owner or group the system refuses stays the user's own; the permissions always go.
bool TakeAttributesOf(int fd, LPCWSTR model) {
    const auto name = platform::native_path(model);
    struct stat info {};
    if (!name || stat(name->c_str(), &info) != 0) return true;
    if (fchown(fd, info.st_uid, info.st_gid) != 0) (void)fchown(fd, static_cast<uid_t>(-1), info.st_gid);
    return fchmod(fd, info.st_mode & 0777) == 0;
}

bool Usable(HPLAINFILE file) {
    if (!file) SetLastError(ERROR_INVALID_PARAMETER);
    return file != nullptr;
}

// The call's result for a system call that failed with `errno`.
BOOL FailWithErrno() {
    platform::set_error_from_errno(errno);
    return FALSE;
}

HPLAINFILE Refuse(int fd, DWORD error) {
    close(fd);
    SetLastError(error);
    return nullptr;
}

}  // namespace

HPLAINFILE OpenPlainFile(LPCWSTR path, DWORD access, DWORD disposition, LPCWSTR likeFile) {
    const auto name = platform::native_path(path);
    if (!name) return nullptr;
    const bool readable = access & GENERIC_READ;
    const bool writable = access & GENERIC_WRITE;
    if ((disposition != CREATE_NEW && disposition != OPEN_EXISTING) || (!readable && !writable)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int flags = (writable ? (readable ? O_RDWR : O_WRONLY) : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
    // A new file starts private and is opened up to its model's permissions before anything is in it.
    if (disposition == CREATE_NEW) flags |= O_CREAT | O_EXCL;
    const int fd = open(name->c_str(), flags, likeFile ? mode_t{0600} : NewFileMode);
    if (fd < 0) {
        platform::set_error_for_path(errno, *name);
        return nullptr;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return Refuse(fd, ERROR_ACCESS_DENIED);
    if (disposition == CREATE_NEW && likeFile && !TakeAttributesOf(fd, likeFile))
        return Refuse(fd, platform::error_from_errno(errno));
    return new PLAINFILE{fd};
}

BOOL WritePlainFile(HPLAINFILE file, LPCVOID data, DWORD size) {
    if (!Usable(file)) return FALSE;
    if (!data && size > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return platform::write_fully(file->fd, data, size, nullptr) ? TRUE : FailWithErrno();
}

BOOL SetPlainFileEnd(HPLAINFILE file) {
    if (!Usable(file)) return FALSE;
    const off_t end = lseek(file->fd, 0, SEEK_CUR);
    return end >= 0 && ftruncate(file->fd, end) == 0 ? TRUE : FailWithErrno();
}

BOOL FlushPlainFile(HPLAINFILE file) {
    if (!Usable(file)) return FALSE;
    return platform::sync_file(file->fd) ? TRUE : FailWithErrno();
}

BOOL GetPlainFileInformation(HPLAINFILE file, BY_HANDLE_FILE_INFORMATION* information) {
    if (!Usable(file)) return FALSE;
    if (!information) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct stat status {};
    if (fstat(file->fd, &status) != 0) return FailWithErrno();
    platform::file_information_from_stat(status, information);
    return TRUE;
}

BOOL ClosePlainFile(HPLAINFILE file) {
    if (!Usable(file)) return FALSE;
    const int result = close(file->fd);
    const int error = errno;
    delete file;
    errno = error;
    return result == 0 ? TRUE : FailWithErrno();
}
