#include "shell/full_screen.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

class Shell : public WindowTest {};

TEST_F(Shell, FullScreenHidesAndShowsEachStripOnItsOwn) {
    const HWND main = top_level(0, 0, 240, 320);
    const auto& strips = platform::shell_strips();
    EXPECT_TRUE(strips.taskbar);
    EXPECT_TRUE(SHFullScreen(main, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
    EXPECT_FALSE(strips.taskbar);
    EXPECT_FALSE(strips.input_panel_button);
    EXPECT_FALSE(strips.start_icon);
    EXPECT_TRUE(SHFullScreen(main, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON));
    EXPECT_TRUE(strips.taskbar);
    EXPECT_TRUE(strips.input_panel_button);
    EXPECT_FALSE(strips.start_icon) << "not asked for";

    DestroyWindow(main);
    EXPECT_FALSE(SHFullScreen(main, SHFS_HIDETASKBAR));
    EXPECT_FALSE(SHFullScreen(nullptr, SHFS_HIDETASKBAR));
    EXPECT_TRUE(strips.taskbar) << "a failed call changes nothing";
}

}  // namespace
