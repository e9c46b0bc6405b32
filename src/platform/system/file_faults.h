// For tests only: faults of the file system that a test cannot bring about otherwise.
#pragma once

namespace platform {

// The next `count` flushes of file data to disk fail as a failing disk would (EIO), on any thread.
void fail_next_file_flushes(int count);

}  // namespace platform
