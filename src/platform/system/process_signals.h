// The signals that ask a process to end (SIGTERM, SIGINT, SIGHUP), turned into bytes on a pipe so
// that a thread can read them and the handler itself does nothing but write.
#pragma once

namespace platform {

// Installs handlers that write the signal's number as one byte to `fd` (which should not block).
// A signal that is ignored when this is called stays ignored: a shell sets that up for background
// jobs on purpose. Calling it again only changes the pipe.
void signals_forward_to(int fd);

// Gives the signals back the dispositions signals_forward_to found.
void signals_restore();

}  // namespace platform
