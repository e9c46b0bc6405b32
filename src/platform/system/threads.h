// Thread handles, for CloseHandle.
#pragma once

#include "platform/types.h"

namespace platform {

// Lets go of a thread handle: a thread still running goes on alone. False when `handle` is none.
bool close_thread(HANDLE handle);

}  // namespace platform
