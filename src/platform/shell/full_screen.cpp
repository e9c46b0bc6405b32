#include "shell/full_screen.h"

#include "platform/shell.h"
#include "platform/window.h"

namespace platform {
namespace {

ShellStrips strips;

void apply(bool& shown, DWORD state, DWORD show_flag, DWORD hide_flag) {
    if (state & show_flag) shown = true;
    if (state & hide_flag) shown = false;
}

}  // namespace

const ShellStrips& shell_strips() { return strips; }

}  // namespace platform

BOOL SHFullScreen(HWND window, DWORD state) {
    if (!IsWindow(window)) return FALSE;
    using platform::strips;
    platform::apply(strips.taskbar, state, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR);
    platform::apply(strips.input_panel_button, state, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON);
    platform::apply(strips.start_icon, state, SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON);
    return TRUE;
}
