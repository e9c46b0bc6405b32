// Files open for reading: CreateFileW and the calls on the handle it gives.
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/handles.h"
#include "platform/system.h"
#include "system/errors.h"
#include "system/paths.h"
#include "system/posix_io.h"
#include "system/threads.h"

namespace platform {
namespace {

struct OpenFile {
    int fd;

    explicit OpenFile(int descriptor) : fd(descriptor) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { close(fd); }  // also drops the sharing lock
};

HandleTable<OpenFile>& files() {
    static HandleTable<OpenFile> table(HandleKind::File);
    return table;
}

OpenFile* find_file(HANDLE handle) {
    OpenFile* file = files().find(raw(handle));
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

// The call's result for a failure with the last error `error`, closing what was opened.
HANDLE refuse(int fd, DWORD error) {
    close(fd);
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace
}  // namespace platform

using namespace platform;

// Only reading an existing file, unshared, is offered: files are written through the plain-file calls.
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES*, DWORD disposition, DWORD,
                   HANDLE) {
    const auto name = native_path(path);
    if (!name) return INVALID_HANDLE_VALUE;
    if (access != GENERIC_READ || shareMode != 0 || disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // O_NONBLOCK keeps a FIFO or device from hanging the open; such files are refused below, and
    // on a regular file the flag changes nothing.
    const int fd = open(name->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        set_error_for_path(errno, *name);
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return refuse(fd, ERROR_ACCESS_DENIED);
    // Nobody else may have the file open through this call, and nobody may open it while this
    // handle lives.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(fd, errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : error_from_errno(errno));
    SetLastError(ERROR_SUCCESS);
    return as_handle<HANDLE>(files().add(std::make_unique<OpenFile>(fd)));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, void* overlapped) {
    if (read) *read = 0;
    OpenFile* open_file = find_file(file);
    if (!open_file) return FALSE;
    // Overlapped reads are not offered.
    if (overlapped || (!buffer && toRead > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::size_t got = 0;
    const bool ok = read_fully(open_file->fd, buffer, toRead, &got);
    if (read) *read = static_cast<DWORD>(got);
    if (!ok) set_error_from_errno(errno);
    return ok ? TRUE : FALSE;
}

DWORD GetFileSize(HANDLE file, DWORD* high) {
    OpenFile* open_file = find_file(file);
    if (!open_file) return INVALID_FILE_SIZE;
    struct stat info {};
    if (fstat(open_file->fd, &info) != 0) {
        set_error_from_errno(errno);
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (high) *high = static_cast<DWORD>(size >> 32);
    // A size whose low half is all ones is told from a failure by the last error.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) {
    OpenFile* open_file = find_file(file);
    if (!open_file) return FALSE;
    struct stat status {};
    if (!information || fstat(open_file->fd, &status) != 0) {
        if (!information) SetLastError(ERROR_INVALID_PARAMETER);
        else set_error_from_errno(errno);
        return FALSE;
    }
    file_information_from_stat(status, information);
    return TRUE;
}

BOOL CloseHandle(HANDLE object) {
    if (!files().remove(raw(object)) && !close_thread(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
