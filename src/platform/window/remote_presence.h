// Named top-level windows are visible to other processes of the user while remote access is on.
#pragma once

#include "window/window_table.h"

namespace platform {

void announce_to_other_processes(const Window& window);
void withdraw_from_other_processes(const Window& window);

}  // namespace platform
