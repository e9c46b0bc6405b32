#include "backend/sdl/sdl_backend.h"
#include "backend/sdl/sdl_scale.h"
#include "system/display_name.h"

#include <gtest/gtest.h>
#include <SDL2/SDL.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <utility>

namespace platform {
namespace {

std::unique_ptr<SdlBackend> open_screen() {
    std::string error;
    auto backend = SdlBackend::open({240, 320}, display_to_open(display_from_environment()), "Scrivo", &error);
    EXPECT_NE(backend, nullptr) << error;
    return backend;
}

std::uint32_t surface_pixel(SDL_Window* window, int x, int y) {
    const SDL_Surface* surface = SDL_GetWindowSurface(window);
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + std::ptrdiff_t{y} * surface->pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

// A size that makes no sense gives the whole display and one line saying so; none asked gives it
// silently.
TEST(SdlScreenChoice, AnEmulatedScreenOnlyForASensibleSize) {
    for (const char* nonsense : {"abc", "240", "0x0", "0x320", "240x", "240x320x", "-240x320", "99999x320", "24ox320"}) {
        setenv("SCRIVO_SCREEN", nonsense, 1);
        ::testing::internal::CaptureStderr();
        const SdlScreen whole = sdl_screen_from_environment();
        EXPECT_EQ(std::pair(whole.width, whole.height), std::pair(0, 0)) << nonsense;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "platform_sdl_tests: SCRIVO_SCREEN=" + std::string(nonsense) +
                      " is not a screen size such as 240x320; using the whole display\n");
    }
    setenv("SCRIVO_SCREEN", "", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(sdl_screen_from_environment().width, 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    setenv("SCRIVO_SCREEN", "240x320", 1);
    const SdlScreen asked = sdl_screen_from_environment();
    EXPECT_EQ(std::pair(asked.width, asked.height), std::pair(240, 320));
}

// Our own setting first, then the toolkit's, then the X resource; nonsense in any of them says
// nothing, and only ours is worth a complaint.
TEST(SdlScreenChoice, TheDesktopScaleComesFromTheFirstSettingThatMakesSense) {
    const char* xft = "Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n";
    std::string complaint;
    EXPECT_EQ(sdl_desktop_scale("3", "2", xft, &complaint), 3);
    EXPECT_EQ(sdl_desktop_scale(nullptr, "2", xft, nullptr), 2);
    EXPECT_EQ(sdl_desktop_scale(nullptr, nullptr, xft, nullptr), 2);
    EXPECT_EQ(sdl_desktop_scale(nullptr, nullptr, "Xft.dpi: 144\n", nullptr), 2) << "1.5 rounds up";
    EXPECT_EQ(sdl_desktop_scale(nullptr, nullptr, "Xft.dpi:\t120", nullptr), 1);
    EXPECT_EQ(sdl_desktop_scale(nullptr, nullptr, "Xft.dpi: 1e300\n", nullptr), kLargestScale);
    EXPECT_TRUE(complaint.empty());
    for (const char* said_nothing : {"Xft.dpi:\t96\n", "Xft.dpi:\n", "Xft.dpi: lots\n", "Xft.dpi: -5\n", "Xft.dpix: 192\n", ""})
        EXPECT_EQ(sdl_desktop_scale(nullptr, "0", said_nothing, nullptr), 0) << said_nothing;
    for (const char* nonsense : {"", "0", "-2", "1.5", "9", "2x"}) {
        complaint.clear();
        EXPECT_EQ(sdl_desktop_scale(nonsense, nullptr, xft, &complaint), 2) << nonsense;
        EXPECT_NE(complaint.find("SCRIVO_SCALE"), std::string::npos) << nonsense;
    }
}

// A window of the screen's size, shown with the first frame that has something on the screen,
// with rectangles clipped to the screen, and no pointer over it but the wait cursor.
TEST(SdlBackend, AnEmulatedScreenShowsWhatIsPresentedAndSaysSoWhenAsked) {
    setenv("SCRIVO_TRACE", "1", 1);
    auto backend = open_screen();
    ASSERT_NE(backend, nullptr);
    SDL_Window* window = backend->window();
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(240, 320));
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    backend->framebuffer()[5 * backend->framebuffer_pitch() + 7] = 0x123456;
    const Rect rects[] = {{300, 0, 400, 10}, {0, 0, 10, 10}, {230, 310, 260, 340}, {5, 5, 5, 9}};
    ::testing::internal::CaptureStderr();
    backend->present(rects, 1);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);
    backend->present(rects, 4);
    // The trace line starts with the milliseconds since the clock started.
    const std::string trace = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(trace, std::regex("[0-9]+ presented 2 rects\n"))) << trace;
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);
    EXPECT_EQ(surface_pixel(window, 7, 5), 0x123456u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    backend->set_cursor(cursor_shape(CursorLook::Kind::Wait));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    CursorLook cross{CursorLook::Kind::Picture, 3, 3, 1, 1, std::vector<std::uint32_t>(9, 0xFF000000u), 7};
    backend->set_cursor(cross);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    backend->set_cursor(cursor_shape(CursorLook::Kind::Hidden));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST(SdlBackend, AResizedWindowLosesTheScreenAndStillTakesEveryPixel) {
    auto backend = open_screen();
    ASSERT_NE(backend, nullptr);
    SDL_SetWindowSize(backend->window(), 100, 50);
    DeviceEvent got;
    bool lost = false;
    while (!lost && backend->next_event(&got, 0)) lost = got.type == DeviceEvent::Type::ScreenLost;
    ASSERT_TRUE(lost);
    // The screen keeps its size, to its last pixel; the window shows what fits.
    backend->framebuffer()[49 * backend->framebuffer_pitch() + 99] = 0xABCDEF;
    backend->framebuffer()[319 * backend->framebuffer_pitch() + 239] = 0x123456;
    const Rect whole{0, 0, 240, 320};
    backend->present(&whole, 1);
    EXPECT_EQ(surface_pixel(backend->window(), 99, 49), 0xABCDEFu);
}

}  // namespace
}  // namespace platform
