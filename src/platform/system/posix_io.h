// Whole reads and writes over file descriptors, past short transfers and interrupted calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/system.h"

struct stat;

namespace platform {

// Writes all `size` bytes. On failure returns false with errno set; `*done` (if given) tells how
// many bytes went before it.
bool write_fully(int fd, const void* data, std::size_t size, std::size_t* done);

// Reads until `size` bytes came or the file ended. On failure returns false with errno set.
bool read_fully(int fd, void* data, std::size_t size, std::size_t* done);

// The first `cap` bytes (at most) of a file, or nothing with errno set.
std::optional<std::string> read_file_prefix(const std::string& path, std::size_t cap);

// The file information the calls on files give, from the file's status.
void file_information_from_stat(const struct stat& status, BY_HANDLE_FILE_INFORMATION* information);

// Puts the file's data on disk (fsync). Tests can make it fail (testing.h).
bool sync_file(int fd);

// Makes the names in `folder` durable: a rename into it survives a power cut once this returns.
bool sync_folder(const std::string& folder);

}  // namespace platform
