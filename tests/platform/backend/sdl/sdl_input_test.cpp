#include "backend/sdl/sdl_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/window.h"

namespace platform {
namespace {

using T = DeviceEvent::Type;
constexpr std::uint32_t kWake = SDL_USEREVENT + 7;

SDL_Event mouse(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT, Uint32 which = 0) {
    SDL_Event e{};
    if (type == SDL_MOUSEMOTION)
        e.motion = {type, 0, 0, which, 0, x, y, 0, 0};
    else
        e.button = {type, 0, 0, which, button, 0, 0, 0, x, y};
    return e;
}

SDL_Event finger(Uint32 type, SDL_FingerID id, float x, float y) {
    SDL_Event e{};
    e.tfinger = {type, 0, 3, id, x, y, 0, 0, 0, 0};
    return e;
}

SDL_Event key(Uint32 type, SDL_Keycode code, Uint8 repeat = 0, Uint16 mod = 0) {
    SDL_Event e{};
    e.key = {type, 0, 0, 0, repeat, 0, 0, {SDL_SCANCODE_UNKNOWN, code, mod, 0}};
    return e;
}

SDL_Event other(Uint32 type, Uint8 window_event = 0) {
    SDL_Event e{};
    e.window = {type, 0, 0, window_event, 0, 0, 0, 0, 0};
    return e;
}

// An SDL event and the device event it must become; none when it means nothing to the platform.
struct Step {
    SDL_Event event;
    std::optional<T> type = std::nullopt;
    int x = 0;
    int y = 0;
    int vk = 0;
    bool repeat = false;
    int wheel = 0;
};

void expect_steps(const std::vector<Step>& steps) {
    SdlInput input{240, 320, kWake};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        DeviceEvent out;
        ASSERT_EQ(input.translate(s.event, &out), s.type.has_value()) << "step " << i;
        if (s.type) {
            EXPECT_EQ(std::tuple(out.type, out.x, out.y, out.vk, out.repeat, out.wheel),
                      std::tuple(*s.type, s.x, s.y, s.vk, s.repeat, s.wheel))
                << "step " << i;
        }
    }
}

TEST(SdlInput, OneStylusAtATimeWithEveryMoveStoppingAtTheEdgesAndMovesWithNothingPressedAHover) {
    expect_steps({
        {mouse(SDL_MOUSEMOTION, 10, 10), T::PointerHover, 10, 10},
        {mouse(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_MIDDLE)},
        {mouse(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID)},  // a touch's imitation
        {mouse(SDL_MOUSEBUTTONDOWN, -5, 400), T::PointerDown, 0, 319},
        {mouse(SDL_MOUSEMOTION, 11, 20), T::PointerMove, 11, 20},
        {mouse(SDL_MOUSEMOTION, 11, 20), T::PointerMove, 11, 20},
        {mouse(SDL_MOUSEMOTION, 240, -1), T::PointerMove, 239, 0}, {finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f)},
        {mouse(SDL_MOUSEBUTTONUP, 13, 23), T::PointerUp, 13, 23},
        {mouse(SDL_MOUSEMOTION, 14, 24), T::PointerHover, 14, 24},
        {mouse(SDL_MOUSEMOTION, 15, 25, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID)},
        // Where a resting pointer is when the window comes under it is no move of the mouse.
        {other(SDL_WINDOWEVENT, SDL_WINDOWEVENT_ENTER)}, {mouse(SDL_MOUSEMOTION, 16, 26)},
        {mouse(SDL_MOUSEMOTION, 17, 26), T::PointerHover, 17, 26},
        // Fingers are fractions of the screen.
        {finger(SDL_FINGERDOWN, 1, 0.5f, 0.25f), T::PointerDown, 120, 80}, {mouse(SDL_MOUSEBUTTONDOWN, 1, 1)},
        {finger(SDL_FINGERMOTION, 1, 1.0f, 1.0f), T::PointerMove, 239, 319},
        {finger(SDL_FINGERUP, 1, 0.0f, 0.0f), T::PointerUp, 0, 0},
        // A second finger ends the first one's press where it began; the mouse waits for both to
        // leave, and fingers that travelled make no tap.
        {finger(SDL_FINGERDOWN, 1, 0.5f, 0.25f), T::PointerDown, 120, 80},
        {finger(SDL_FINGERDOWN, 2, 0.1f, 0.1f), T::PointerCancel, 120, 80}, {mouse(SDL_MOUSEBUTTONDOWN, 1, 1)},
        {finger(SDL_FINGERMOTION, 1, 1.0f, 1.0f)}, {finger(SDL_FINGERUP, 2, 0.2f, 0.2f)},
        {finger(SDL_FINGERUP, 1, 0.0f, 0.0f)}, {finger(SDL_FINGERMOTION, 2, 0.3f, 0.3f)},
        {mouse(SDL_MOUSEBUTTONDOWN, 1, 1), T::PointerDown, 1, 1},
    });
}

TEST(SdlInput, EachPointerEventSaysItsSourceAndAPenPutDownEndsTheRestingHandsStroke) {
    SdlInput input{240, 320, kWake};
    DeviceEvent out;
    // `given` is what translate or take_pending said: an event came, and it must be this one.
    const auto expect = [&](bool given, T type, int x, int y, PointerSource source) {
        ASSERT_TRUE(given);
        EXPECT_EQ(std::tuple(out.type, out.x, out.y, out.source), std::tuple(type, x, y, source));
    };
    expect(input.translate(finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f), &out), T::PointerDown, 120, 160, PointerSource::Touch);
    expect(input.translate(finger(SDL_FINGERMOTION, 1, 0.25f, 0.5f), &out), T::PointerMove, 60, 160, PointerSource::Touch);
    // A mouse cannot take over from a finger; a pen can.
    ASSERT_FALSE(input.translate(mouse(SDL_MOUSEBUTTONDOWN, 30, 40), &out));
    input.set_mouse_source(PointerSource::Eraser);
    expect(input.translate(mouse(SDL_MOUSEBUTTONDOWN, 30, 40), &out), T::PointerUp, 60, 160, PointerSource::Touch);
    expect(input.take_pending(&out), T::PointerDown, 30, 40, PointerSource::Eraser);
    ASSERT_FALSE(input.take_pending(&out));
    ASSERT_FALSE(input.translate(finger(SDL_FINGERUP, 1, 0.25f, 0.5f), &out));
    input.set_mouse_source(PointerSource::Pen);
    expect(input.translate(mouse(SDL_MOUSEMOTION, 31, 41), &out), T::PointerMove, 31, 41, PointerSource::Pen);
    expect(input.translate(mouse(SDL_MOUSEBUTTONUP, 31, 41), &out), T::PointerUp, 31, 41, PointerSource::Pen);
    input.set_mouse_source(PointerSource::Mouse);
    expect(input.translate(mouse(SDL_MOUSEMOTION, 50, 60), &out), T::PointerHover, 50, 60, PointerSource::Mouse);
}

// A finger's event `time` ms into the touch.
struct Touch {
    Uint32 type;
    SDL_FingerID id;
    float x;
    float y;
    Uint32 time;
};

// What a touch of several fingers gives: the type and the finger count of each event, and where the
// last one was.
std::vector<std::pair<T, int>> taps_from(const std::vector<Touch>& touches, std::pair<int, int>* last = nullptr) {
    SdlInput input{240, 320, kWake};
    std::vector<std::pair<T, int>> given;
    for (const Touch& t : touches) {
        SDL_Event e = finger(t.type, t.id, t.x, t.y);
        e.tfinger.timestamp = t.time;
        DeviceEvent out;
        if (!input.translate(e, &out)) continue;
        given.emplace_back(out.type, out.fingers);
        if (last) *last = {out.x, out.y};
    }
    return given;
}

TEST(SdlInput, TwoOrThreeFingersTappingTogetherAreOneTapWhereTheFirstTouched) {
    using Taps = std::vector<std::pair<T, int>>;
    constexpr Uint32 kDown = SDL_FINGERDOWN, kMove = SDL_FINGERMOTION, kUp = SDL_FINGERUP;
    const std::pair down{T::PointerDown, 0}, up{T::PointerUp, 0}, cancel{T::PointerCancel, 0};
    // Two fingers, a little apart in time and wobbling a few pixels; then a finger alone is a stroke again.
    EXPECT_EQ(taps_from({{kDown, 1, 0.5f, 0.5f, 1000}, {kDown, 2, 0.6f, 0.5f, 1030}, {kMove, 2, 0.62f, 0.52f, 1050},
                         {kUp, 1, 0.5f, 0.5f, 1200}, {kUp, 2, 0.62f, 0.52f, 1300}, {kDown, 3, 0.1f, 0.1f, 2000},
                         {kUp, 3, 0.1f, 0.1f, 2100}}),
              (Taps{down, cancel, {T::FingerTap, 2}, down, up}));
    std::pair<int, int> at;
    EXPECT_EQ(taps_from({{kDown, 1, 0.25f, 0.5f, 0}, {kDown, 2, 0.6f, 0.5f, 10}, {kDown, 3, 0.7f, 0.5f, 20},
                         {kUp, 3, 0.7f, 0.5f, 100}, {kUp, 1, 0.25f, 0.5f, 110}, {kUp, 2, 0.6f, 0.5f, 120}},
                        &at),
              (Taps{down, cancel, {T::FingerTap, 3}}));
    EXPECT_EQ(at, std::pair(60, 160));
    // Held too long, or a finger that travelled: the stroke is still cancelled, but nothing is tapped.
    EXPECT_EQ(taps_from({{kDown, 1, 0.5f, 0.5f, 0}, {kDown, 2, 0.6f, 0.5f, 10}, {kUp, 1, 0.5f, 0.5f, 390},
                         {kUp, 2, 0.6f, 0.5f, 450}}),
              (Taps{down, cancel}));
    EXPECT_EQ(taps_from({{kDown, 1, 0.5f, 0.5f, 0}, {kDown, 2, 0.6f, 0.5f, 10}, {kMove, 1, 0.5f, 0.7f, 50},
                         {kUp, 1, 0.5f, 0.7f, 100}, {kUp, 2, 0.6f, 0.5f, 110}}),
              (Taps{down, cancel}));
}

SDL_Event wheel(int x, int y, int at_x, int at_y) {
    SDL_Event e{};
    e.wheel = {SDL_MOUSEWHEEL, 0, 0, 0, x, y, 0, 0, 0, at_x, at_y};
    return e;
}

// The right button and the wheel are never the stylus.
TEST(SdlInput, ButtonsWheelKeysFocusCloseAndWake) {
    expect_steps({
        {mouse(SDL_MOUSEBUTTONDOWN, 5, 6), T::PointerDown, 5, 6},
        {mouse(SDL_MOUSEBUTTONDOWN, 7, 8, SDL_BUTTON_RIGHT), T::RightButtonDown, 7, 8},
        {mouse(SDL_MOUSEMOTION, 9, 9), T::PointerMove, 9, 9},
        {mouse(SDL_MOUSEBUTTONUP, 9, 9, SDL_BUTTON_RIGHT), T::RightButtonUp, 9, 9},
        {mouse(SDL_MOUSEBUTTONUP, 9, 9), T::PointerUp, 9, 9},
        {mouse(SDL_MOUSEBUTTONUP, 1, 2, SDL_BUTTON_RIGHT, SDL_TOUCH_MOUSEID)}, {wheel(3, 0, 1, 1)},
        {wheel(0, -2, 300, 40), T::Wheel, 239, 40, 0, false, -2}, {key(SDL_KEYDOWN, SDLK_APPLICATION), T::KeyDown, 0, 0, VK_APPS},
        {key(SDL_KEYUP, SDLK_MENU), T::KeyUp, 0, 0, VK_APPS},
        {key(SDL_KEYDOWN, SDLK_UP, 1), T::KeyDown, 0, 0, VK_UP, true},
        {key(SDL_KEYUP, SDLK_UP), T::KeyUp, 0, 0, VK_UP}, {key(SDL_KEYDOWN, SDLK_z), T::KeyDown, 0, 0, 'Z'},
        {key(SDL_KEYDOWN, SDLK_9), T::KeyDown, 0, 0, '9'}, {key(SDL_KEYDOWN, SDLK_F12), T::KeyDown, 0, 0, VK_F1 + 11},
        {key(SDL_KEYDOWN, SDLK_F13)},
        // The keypad: digits with Num Lock, moves without; Enter and Tab are Enter and Tab.
        {key(SDL_KEYDOWN, SDLK_KP_7, 0, KMOD_NUM), T::KeyDown, 0, 0, VK_NUMPAD0 + 7},
        {key(SDL_KEYDOWN, SDLK_KP_0, 0, KMOD_NUM), T::KeyDown, 0, 0, VK_NUMPAD0},
        {key(SDL_KEYDOWN, SDLK_KP_8), T::KeyDown, 0, 0, VK_UP},
        {key(SDL_KEYDOWN, SDLK_KP_2), T::KeyDown, 0, 0, VK_DOWN},
        {key(SDL_KEYDOWN, SDLK_KP_ENTER), T::KeyDown, 0, 0, VK_RETURN},
        {key(SDL_KEYDOWN, SDLK_KP_TAB), T::KeyDown, 0, 0, VK_TAB},
        {key(SDL_KEYDOWN, SDLK_ESCAPE), T::KeyDown, 0, 0, VK_ESCAPE},
        {other(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED), T::FocusGained},
        {other(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST), T::FocusLost},
        {other(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE), T::CloseRequested},
        {other(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MOVED)}, {other(SDL_QUIT)},
        {other(kWake), T::Wake}, {other(kWake + 1)},
    });
}

// Typed text comes one character at a time, however many one SDL event carries.
TEST(SdlInput, TypedTextBecomesOneEventPerCharacter) {
    SdlInput input{240, 320, kWake};
    SDL_Event e{};
    e.text.type = SDL_TEXTINPUT;
    std::snprintf(e.text.text, sizeof e.text.text, "%s", "a\xC3\xA9\xE2\x82\xAC");  // a é €
    std::vector<char32_t> got;
    DeviceEvent out;
    for (bool more = input.translate(e, &out); more; more = input.take_pending(&out)) {
        EXPECT_EQ(out.type, T::Text);
        got.push_back(out.character);
    }
    EXPECT_EQ(got, (std::vector<char32_t>{U'a', 0xE9, 0x20AC}));
}

}  // namespace
}  // namespace platform
