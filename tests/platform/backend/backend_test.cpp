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

TEST(DisplayScale, ProgramsReadItFromTheDeviceCapsAndTheSystemMetrics) {
    struct Case {
        int width, height, desktop, factor;
    };
    for (const Case c : {Case{240, 320, 0, 1}, Case{3840, 2160, 0, 2}, Case{240, 320, 3, 3}}) {
        use_headless_backend(c.width, c.height).set_desktop_scale(c.desktop);
        const HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96 * c.factor) << c.width;
        EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96 * c.factor) << c.width;
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(GetSystemMetrics(SM_CXDRAG), 4 * c.factor) << c.width;
        EXPECT_EQ(GetSystemMetrics(SM_CYDRAG), 4 * c.factor) << c.width;
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
    }
}

}  // namespace
}  // namespace platform
