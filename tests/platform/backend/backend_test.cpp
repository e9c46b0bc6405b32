// The display's scale factor, and how programs learn it.
#include <gtest/gtest.h>

#include "backend/headless/headless.h"
#include "platform/platform.h"

namespace platform {
namespace {

TEST(DisplayScale, TheDesktopDecidesElseTheScreensShortSide) {
    EXPECT_EQ(scale_for_screen(0, 240, 320), 1);
    EXPECT_EQ(scale_for_screen(0, 1920, 1080), 1);
    EXPECT_EQ(scale_for_screen(0, 2560, 1440), 1);
    EXPECT_EQ(scale_for_screen(0, 2880, 1620), 2) << "1.5 rounds up";
    EXPECT_EQ(scale_for_screen(0, 2160, 3840), 2) << "portrait as landscape";
    EXPECT_EQ(scale_for_screen(0, 16384, 16384), kLargestScale);
    EXPECT_EQ(scale_for_screen(3, 240, 320), 3);
    EXPECT_EQ(scale_for_screen(99, 240, 320), kLargestScale);
    EXPECT_EQ(display_scale(), 1) << "no display yet";
}

// The device-sized layout of dialogs grows by the largest whole factor that fits both sides, and
// never stays smaller than the rest of the chrome.
TEST(DisplayScale, DialogsTakeTheLargestFactorAtWhichTheDeviceLayoutFits) {
    // The screens the fitted layout's tests open are measured there.
    EXPECT_EQ(fitted_scale_for_screen(1, 1080, 1920), 4) << "portrait: the width decides";
    EXPECT_EQ(fitted_scale_for_screen(1, 719, 960), 2) << "one pixel short of 3";
    EXPECT_EQ(fitted_scale_for_screen(4, 1920, 1080), 4) << "the desktop asked for more";
    EXPECT_EQ(fitted_scale_for_screen(1, 200, 200), 1) << "a screen smaller than the device";
    EXPECT_EQ(fitted_scale(), 1) << "no display yet";
}

// The device caps' dots per inch are read at each scale by the program's ink and tool button tests.
TEST(DisplayScale, ProgramsReadItFromTheSystemMetrics) {
    struct Case {
        int width, height, desktop, factor;
    };
    for (const Case c : {Case{240, 320, 0, 1}, Case{3840, 2160, 0, 2}, Case{240, 320, 3, 3}}) {
        use_headless_backend(c.width, c.height).set_desktop_scale(c.desktop);
        EXPECT_EQ(GetSystemMetrics(SM_CXDRAG), 4 * c.factor) << c.width;
        EXPECT_EQ(GetSystemMetrics(SM_CYDRAG), 4 * c.factor) << c.width;
    }
}

}  // namespace
}  // namespace platform
