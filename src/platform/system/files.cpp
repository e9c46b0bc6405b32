// Open files: CreateFileW and the calls on the handle it gives.
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
    bool readable;
    bool writable;

    OpenFile(int descriptor, bool r, bool w) : fd(descriptor), readable(r), writable(w) {}
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

// The file to read or write `count` bytes at `buffer` through `handle`, when the handle was opened
// with that right; null with the last error set otherwise. Overlapped transfers are not offered.
OpenFile* file_for_transfer(HANDLE handle, const void* buffer, DWORD count, void* overlapped, bool OpenFile::*right) {
    OpenFile* file = find_file(handle);
    if (!file) return nullptr;
    if (overlapped || (!buffer && count > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!(file->*right)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return file;
}

// Opens `path` as the disposition asks. `*existed` tells whether the file was there before.
// O_NONBLOCK keeps a FIFO or device from hanging the open; such files are refused afterwards, and
// on a regular file the flag changes nothing.
int open_as(const std::string& path, int mode, DWORD disposition, bool* existed) {
    const int flags = mode | O_CLOEXEC | O_NONBLOCK;
    constexpr mode_t kNewFileMode = 0644;
    switch (disposition) {
    case CREATE_NEW:
        *existed = false;
        return open(path.c_str(), flags | O_CREAT | O_EXCL, kNewFileMode);
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
        *existed = true;
        return open(path.c_str(), flags);
    default:
        // CREATE_ALWAYS, OPEN_ALWAYS: which of the two happened matters for the last error, so
        // create exclusively first; retry when the file vanishes between the two opens.
        for (int attempt = 0; attempt < 16; ++attempt) {
            int fd = open(path.c_str(), flags | O_CREAT | O_EXCL, kNewFileMode);
            if (fd >= 0 || errno != EEXIST) {
                *existed = false;
                return fd;
            }
            fd = open(path.c_str(), flags);
            if (fd >= 0 || errno != ENOENT) {
                *existed = true;
                return fd;
            }
        }
        return -1;
    }
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

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES*, DWORD disposition, DWORD,
                   HANDLE) {
    const auto name = native_path(path);
    if (!name) return INVALID_HANDLE_VALUE;
    const bool readable = access & GENERIC_READ;
    const bool writable = access & GENERIC_WRITE;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING || (disposition == TRUNCATE_EXISTING && !writable)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const int mode = writable ? (readable ? O_RDWR : O_WRONLY) : O_RDONLY;
    bool existed = false;
    const int fd = open_as(*name, mode, disposition, &existed);
    if (fd < 0) {
        set_error_for_path(errno, *name);
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return refuse(fd, ERROR_ACCESS_DENIED);
    // No sharing: nobody else may have the file open through this call, and nobody may open it
    // while this handle lives. Sharing: only an exclusive holder stands in the way.
    if (flock(fd, (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0)
        return refuse(fd, errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : error_from_errno(errno));
    const bool truncate = disposition == TRUNCATE_EXISTING || (disposition == CREATE_ALWAYS && existed);
    if (truncate && !writable) return refuse(fd, ERROR_ACCESS_DENIED);
    if (truncate && ftruncate(fd, 0) != 0) return refuse(fd, error_from_errno(errno));
    const bool reopened = existed && (disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS);
    SetLastError(reopened ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return as_handle<HANDLE>(files().add(std::make_unique<OpenFile>(fd, readable, writable)));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, void* overlapped) {
    if (read) *read = 0;
    OpenFile* open_file = file_for_transfer(file, buffer, toRead, overlapped, &OpenFile::readable);
    if (!open_file) return FALSE;
    std::size_t got = 0;
    const bool ok = read_fully(open_file->fd, buffer, toRead, &got);
    if (read) *read = static_cast<DWORD>(got);
    if (!ok) set_error_from_errno(errno);
    return ok ? TRUE : FALSE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, DWORD* written, void* overlapped) {
    if (written) *written = 0;
    OpenFile* open_file = file_for_transfer(file, buffer, toWrite, overlapped, &OpenFile::writable);
    if (!open_file) return FALSE;
    std::size_t sent = 0;
    const bool ok = write_fully(open_file->fd, buffer, toWrite, &sent);
    if (written) *written = static_cast<DWORD>(sent);
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
