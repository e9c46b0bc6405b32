#include "backend/sdl/sdl_input.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/types.h"

namespace platform {
namespace {

constexpr std::uint32_t kWake = SDL_USEREVENT + 7;

SDL_Event mouse_button(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT, Uint32 which = 0) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.which = which;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event mouse_motion(int x, int y, Uint32 which = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.which = which;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event finger(Uint32 type, SDL_FingerID id, float x, float y) {
    SDL_Event e{};
    e.type = type;
    e.tfinger.touchId = 3;
    e.tfinger.fingerId = id;
    e.tfinger.x = x;
    e.tfinger.y = y;
    return e;
}

SDL_Event key(Uint32 type, SDL_Keycode code, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = code;
    e.key.repeat = repeat;
    return e;
}

SDL_Event window_event(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

struct Translator {
    SdlInput input{240, 320, kWake};
    std::optional<DeviceEvent> operator()(const SDL_Event& e) {
        DeviceEvent out;
        if (!input.translate(e, &out)) return std::nullopt;
        return out;
    }
};

void expect_pointer(const std::optional<DeviceEvent>& e, DeviceEvent::Type type, int x, int y) {
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->type, type);
    EXPECT_EQ(e->x, x);
    EXPECT_EQ(e->y, y);
}

using T = DeviceEvent::Type;

TEST(SdlInput, AMouseDragIsAStrokeWithEveryMoveAndHoverIsNothing) {
    Translator t;
    EXPECT_FALSE(t(mouse_motion(10, 10)));
    expect_pointer(t(mouse_button(SDL_MOUSEBUTTONDOWN, 10, 20)), T::PointerDown, 10, 20);
    expect_pointer(t(mouse_motion(11, 20)), T::PointerMove, 11, 20);
    expect_pointer(t(mouse_motion(11, 20)), T::PointerMove, 11, 20);
    expect_pointer(t(mouse_motion(12, 22)), T::PointerMove, 12, 22);
    expect_pointer(t(mouse_button(SDL_MOUSEBUTTONUP, 13, 23)), T::PointerUp, 13, 23);
    EXPECT_FALSE(t(mouse_motion(14, 24)));
    EXPECT_FALSE(t(mouse_button(SDL_MOUSEBUTTONUP, 14, 24)));
}

TEST(SdlInput, OtherButtonsAndTheMouseThatTouchesImitateAreIgnored) {
    Translator t;
    EXPECT_FALSE(t(mouse_button(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_RIGHT)));
    EXPECT_FALSE(t(mouse_motion(6, 6)));
    EXPECT_FALSE(t(mouse_button(SDL_MOUSEBUTTONDOWN, 5, 5, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID)));
    EXPECT_FALSE(t(mouse_motion(6, 6, SDL_TOUCH_MOUSEID)));
    expect_pointer(t(mouse_button(SDL_MOUSEBUTTONDOWN, 5, 5)), T::PointerDown, 5, 5);
    EXPECT_FALSE(t(mouse_motion(7, 7, SDL_TOUCH_MOUSEID)));
    EXPECT_FALSE(t(mouse_button(SDL_MOUSEBUTTONUP, 7, 7, SDL_BUTTON_MIDDLE)));
    expect_pointer(t(mouse_motion(8, 8)), T::PointerMove, 8, 8);
}

TEST(SdlInput, TheStylusStopsAtTheScreensEdges) {
    Translator t;
    expect_pointer(t(mouse_button(SDL_MOUSEBUTTONDOWN, -5, 400)), T::PointerDown, 0, 319);
    expect_pointer(t(mouse_motion(240, -1)), T::PointerMove, 239, 0);
    // A finger cannot start a stroke of its own while the mouse draws one.
    EXPECT_FALSE(t(finger(SDL_FINGERDOWN, 1, 0.5f, 0.5f)));
    expect_pointer(t(mouse_motion(1000, 1000)), T::PointerMove, 239, 319);
}

TEST(SdlInput, OneFingerScaledToPixelsAndNoSecondFingerWhileItIsDown) {
    Translator t;
    expect_pointer(t(finger(SDL_FINGERDOWN, 1, 0.5f, 0.25f)), T::PointerDown, 120, 80);
    EXPECT_FALSE(t(finger(SDL_FINGERDOWN, 2, 0.1f, 0.1f)));
    EXPECT_FALSE(t(finger(SDL_FINGERMOTION, 2, 0.2f, 0.2f)));
    EXPECT_FALSE(t(mouse_button(SDL_MOUSEBUTTONDOWN, 1, 1)));
    expect_pointer(t(finger(SDL_FINGERMOTION, 1, 1.0f, 1.0f)), T::PointerMove, 239, 319);
    EXPECT_FALSE(t(finger(SDL_FINGERUP, 2, 0.2f, 0.2f)));
    expect_pointer(t(finger(SDL_FINGERUP, 1, 0.0f, 0.0f)), T::PointerUp, 0, 0);
    // The second finger, still down, never started a stroke of its own.
    EXPECT_FALSE(t(finger(SDL_FINGERMOTION, 2, 0.3f, 0.3f)));
    expect_pointer(t(finger(SDL_FINGERDOWN, 2, 0.25f, 0.5f)), T::PointerDown, 60, 160);
}

TEST(SdlInput, KeysBecomeVirtualKeysWithTheirRepeat) {
    Translator t;
    const struct {
        SDL_Keycode code;
        int vk;
    } keys[] = {
        {SDLK_UP, VK_UP},         {SDLK_DOWN, VK_DOWN},      {SDLK_LEFT, VK_LEFT},       {SDLK_RIGHT, VK_RIGHT},
        {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_TAB, VK_TAB},
        {SDLK_BACKSPACE, VK_BACK}, {SDLK_DELETE, VK_DELETE}, {SDLK_HOME, VK_HOME},       {SDLK_END, VK_END},
        {SDLK_PAGEUP, VK_PRIOR},  {SDLK_PAGEDOWN, VK_NEXT},  {SDLK_a, 'A'},              {SDLK_z, 'Z'},
        {SDLK_0, '0'},            {SDLK_9, '9'},             {SDLK_F1, VK_F1},           {SDLK_F12, VK_F1 + 11},
        {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},   {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL},
        {SDLK_LALT, VK_MENU},     {SDLK_RALT, VK_MENU},      {SDLK_SPACE, VK_SPACE},
    };
    for (const auto& k : keys) {
        const auto down = t(key(SDL_KEYDOWN, k.code));
        ASSERT_TRUE(down.has_value()) << k.code;
        EXPECT_EQ(down->type, T::KeyDown);
        EXPECT_EQ(down->vk, k.vk) << k.code;
        EXPECT_FALSE(down->repeat);
        const auto up = t(key(SDL_KEYUP, k.code));
        ASSERT_TRUE(up.has_value());
        EXPECT_EQ(up->type, T::KeyUp);
        EXPECT_EQ(up->vk, k.vk);
    }
    const auto held = t(key(SDL_KEYDOWN, SDLK_DOWN, 1));
    ASSERT_TRUE(held.has_value());
    EXPECT_TRUE(held->repeat);
    EXPECT_FALSE(t(key(SDL_KEYDOWN, SDLK_F13)));
    EXPECT_FALSE(t(key(SDL_KEYDOWN, SDLK_CAPSLOCK)));
    EXPECT_FALSE(t(key(SDL_KEYDOWN, SDLK_F1 - 1)));
}

TEST(SdlInput, FocusCloseAndWake) {
    Translator t;
    EXPECT_EQ(t(window_event(SDL_WINDOWEVENT_FOCUS_GAINED))->type, T::FocusGained);
    EXPECT_EQ(t(window_event(SDL_WINDOWEVENT_FOCUS_LOST))->type, T::FocusLost);
    EXPECT_EQ(t(window_event(SDL_WINDOWEVENT_CLOSE))->type, T::CloseRequested);
    EXPECT_FALSE(t(window_event(SDL_WINDOWEVENT_MOVED)));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(t(quit)->type, T::CloseRequested);
    SDL_Event wake{};
    wake.type = kWake;
    EXPECT_EQ(t(wake)->type, T::Wake);
    wake.type = kWake + 1;
    EXPECT_FALSE(t(wake));
}

}  // namespace
}  // namespace platform
