// What the shell shows around the program: the task bar strip with its input panel button and
// Start icon. Kept for whoever draws the strip and for tests.
#pragma once

namespace platform {

struct ShellStrips {
    bool taskbar = true;
    bool input_panel_button = true;
    bool start_icon = true;
};

const ShellStrips& shell_strips();

}  // namespace platform
