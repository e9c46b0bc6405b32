#include "backend/sdl/sdl_backend.h"

#include <gtest/gtest.h>
#include <SDL2/SDL.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace platform {
namespace {

std::unique_ptr<SdlBackend> open_screen(const SdlScreen& screen) {
    std::string error;
    auto backend = SdlBackend::open(screen, &error);
    EXPECT_NE(backend, nullptr) << error;
    return backend;
}

SdlScreen screen_for(const char* value) {
    setenv("SCRIVO_SCREEN", value, 1);
    return sdl_screen_from_environment();
}

std::uint32_t surface_pixel(SDL_Window* window, int x, int y) {
    const SDL_Surface* surface = SDL_GetWindowSurface(window);
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

void push(const SDL_Event& event) {
    SDL_Event copy = event;
    ASSERT_EQ(SDL_PushEvent(&copy), 1);
}

TEST(SdlScreenChoice, AnEmulatedScreenOnlyForASensibleSize) {
    unsetenv("SCRIVO_SCREEN");
    EXPECT_EQ(sdl_screen_from_environment().width, 0);
    const SdlScreen asked = screen_for("240x320");
    EXPECT_EQ(asked.width, 240);
    EXPECT_EQ(asked.height, 320);
    for (const char* nonsense : {"", "240", "0x320", "240x0", "x320", "240x", "240x320x", "-240x320", "240 x320",
                                 "99999x320", "24ox320"}) {
        const SdlScreen whole = screen_for(nonsense);
        EXPECT_EQ(whole.width, 0) << nonsense;
        EXPECT_EQ(whole.height, 0) << nonsense;
    }
}

TEST(SdlBackend, TheWholeDisplayByDefault) {
    auto backend = open_screen({});
    ASSERT_NE(backend, nullptr);
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    EXPECT_EQ(backend->screen_width(), desktop.w);
    EXPECT_EQ(backend->screen_height(), desktop.h);
    EXPECT_TRUE(SDL_GetWindowFlags(backend->window()) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    EXPECT_GE(backend->framebuffer_pitch(), desktop.w);
    // As on a pen device, no pointer shows.
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST(SdlBackend, AnEmulatedScreenInAWindowOfItsSize) {
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(backend->screen_width(), 240);
    EXPECT_EQ(backend->screen_height(), 320);
    EXPECT_FALSE(SDL_GetWindowFlags(backend->window()) & SDL_WINDOW_FULLSCREEN);
    int w = 0, h = 0;
    SDL_GetWindowSize(backend->window(), &w, &h);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);
}

TEST(SdlBackend, PresentsWhatLiesOnTheScreenAndSaysSoWhenAsked) {
    setenv("SCRIVO_TRACE", "1", 1);
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    backend->framebuffer()[5 * backend->framebuffer_pitch() + 7] = 0x123456;
    const Rect rects[] = {{0, 0, 10, 10}, {300, 0, 400, 10}, {230, 310, 260, 340}, {5, 5, 5, 9}};
    ::testing::internal::CaptureStderr();
    backend->present(rects, 4);
    backend->present(rects + 1, 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "presented 2 rects\n");
    EXPECT_EQ(surface_pixel(backend->window(), 7, 5), 0x123456u);
}

TEST(SdlBackend, TheWindowShowsWithTheFirstFrameAndNotBefore) {
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(backend->window()) & SDL_WINDOW_HIDDEN);
    const Rect outside{300, 0, 310, 10};
    backend->present(&outside, 1);
    EXPECT_TRUE(SDL_GetWindowFlags(backend->window()) & SDL_WINDOW_HIDDEN);
    const Rect corner{0, 0, 1, 1};
    backend->present(&corner, 1);
    EXPECT_TRUE(SDL_GetWindowFlags(backend->window()) & SDL_WINDOW_SHOWN);
}

TEST(SdlBackend, InputArrivesOneEventAtATimeAndNothingIsMerged) {
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;  // hover: nothing
    e.motion.x = 3;
    push(e);
    e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 10;
    e.button.y = 20;
    push(e);
    for (int x = 11; x <= 13; ++x) {
        e = {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = 20;
        push(e);
    }
    DeviceEvent got;
    ASSERT_TRUE(backend->next_event(&got, 0));
    EXPECT_EQ(got.type, DeviceEvent::Type::PointerDown);
    for (int x = 11; x <= 13; ++x) {
        ASSERT_TRUE(backend->next_event(&got, 0));
        EXPECT_EQ(got.type, DeviceEvent::Type::PointerMove);
        EXPECT_EQ(got.x, x);
    }
    EXPECT_FALSE(backend->next_event(&got, 0));
    EXPECT_FALSE(backend->next_event(&got, 1));
}

TEST(SdlBackend, AWakeFromAnotherThreadEndsAWait) {
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    std::thread waker([&] { backend->wake(); });
    DeviceEvent got;
    ASSERT_TRUE(backend->next_event(&got, -1));
    EXPECT_EQ(got.type, DeviceEvent::Type::Wake);
    waker.join();
}

TEST(SdlBackend, AResizedWindowLosesTheScreenAndStillTakesEveryPixel) {
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    SDL_SetWindowSize(backend->window(), 100, 50);
    DeviceEvent got;
    bool lost = false;
    while (!lost && backend->next_event(&got, 0)) lost = got.type == DeviceEvent::Type::ScreenLost;
    ASSERT_TRUE(lost);
    // The screen keeps its size; the window shows what fits.
    EXPECT_EQ(backend->screen_width(), 240);
    std::uint32_t* pixels = backend->framebuffer();
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) pixels[y * backend->framebuffer_pitch() + x] = static_cast<std::uint32_t>(x * 256 + y);
    const Rect whole{0, 0, 240, 320};
    backend->present(&whole, 1);
    EXPECT_EQ(surface_pixel(backend->window(), 99, 49), 99u * 256 + 49);
    EXPECT_EQ(surface_pixel(backend->window(), 3, 4), 3u * 256 + 4);
}

TEST(SdlBackend, TheWaitCursorComesAndGoes) {
    auto backend = open_screen({240, 320});
    ASSERT_NE(backend, nullptr);
    backend->set_cursor(CursorShape::Wait);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    backend->set_cursor(CursorShape::None);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

}  // namespace
}  // namespace platform
