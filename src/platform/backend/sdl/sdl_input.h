// SDL's input and window events as the platform's device events. The mouse's left button, a finger
// and a pen are one stylus: a press, the moves while pressed (every one of them, none merged, none
// while nothing is pressed) and a release. A second finger on the screen cancels the first finger's
// press, and two or three fingers that tap together are one tap of several fingers.
// Keys come as virtual keys, typed text as characters.
#pragma once

#include <SDL2/SDL_events.h>

#include <cstdint>
#include <deque>

#include "backend/backend.h"
#include "backend/sdl/sdl_taps.h"

namespace platform {

class SdlInput {
public:
    // `wake_type` is the registered SDL event type that wakes a waiting reader.
    SdlInput(int screen_width, int screen_height, std::uint32_t wake_type)
        : width_(screen_width), height_(screen_height), wake_type_(wake_type) {}

    // The device event `event` stands for; false for events that mean nothing to the platform.
    // Typed text gives one event per character: the first here, the others from take_pending.
    bool translate(const SDL_Event& event, DeviceEvent* out);
    bool take_pending(DeviceEvent* out);

private:
    enum class Holder { None, Mouse, Finger };

    bool pointer(DeviceEvent::Type type, int x, int y, DeviceEvent* out) const;
    bool finger(DeviceEvent::Type type, const SDL_TouchFingerEvent& touch, DeviceEvent* out);
    // Fingers beyond the first: they end its stroke and may make a tap of several fingers.
    bool several_fingers(DeviceEvent::Type type, const SDL_TouchFingerEvent& touch, int x, int y, DeviceEvent* out);

    int width_;
    int height_;
    std::uint32_t wake_type_;
    Holder holder_ = Holder::None;
    SDL_TouchID touch_ = 0;
    SDL_FingerID finger_ = 0;
    std::deque<char32_t> pending_text_;
    FingerTaps taps_;
    int tap_x_ = 0;
    int tap_y_ = 0;
};

}  // namespace platform
