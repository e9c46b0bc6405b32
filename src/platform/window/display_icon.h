// The picture desktops show for the display window (task switchers, panels): the program's own
// icon, its first icon resource, as desktops show an application's.
#pragma once

namespace platform {

void show_program_icon();

}  // namespace platform
