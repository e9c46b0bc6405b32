// SDL's input and window events as the platform's device events. The mouse's left button, a finger
// and a pen are one stylus: a press, the moves while pressed (every one of them, none merged; a
// move with nothing pressed is a hover, never ink) and a release, each saying where it came from.
// A second finger on the screen cancels the first finger's press, and two or three fingers that
// tap together are one tap of several fingers; a pen put down ends a finger's stroke (the palm
// resting before the pen came) and takes over. Keys come as virtual keys, typed text as characters.
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
    // Where SDL's mouse events come from until said otherwise: SDL tells only its emulation of
    // touches apart, so the display backend asks the window system and says so here.
    void set_mouse_source(PointerSource source) { mouse_source_ = source; }

private:
    enum class Holder { None, Mouse, Finger };

    bool pointer(DeviceEvent::Type type, int x, int y, PointerSource source, DeviceEvent* out) const;
    bool mouse_pointer(DeviceEvent::Type type, int x, int y, DeviceEvent* out) const {
        return pointer(type, x, y, mouse_source_, out);
    }
    bool finger(DeviceEvent::Type type, const SDL_TouchFingerEvent& touch, DeviceEvent* out);
    bool left_button_down(const SDL_MouseButtonEvent& button, DeviceEvent* out);
    // Fingers beyond the first: they end its stroke and may make a tap of several fingers.
    bool several_fingers(DeviceEvent::Type type, const SDL_TouchFingerEvent& touch, int x, int y, DeviceEvent* out);

    int width_;
    int height_;
    std::uint32_t wake_type_;
    Holder holder_ = Holder::None;
    SDL_TouchID touch_ = 0;
    SDL_FingerID finger_ = 0;
    int finger_x_ = 0;
    int finger_y_ = 0;
    PointerSource mouse_source_ = PointerSource::Mouse;
    // The window has just come under a pointer that may be resting there: SDL's move that says
    // where it is is no sign of a mouse in use.
    bool pointer_entered_ = false;
    std::deque<DeviceEvent> pending_;
    FingerTaps taps_;
    int tap_x_ = 0;
    int tap_y_ = 0;
};

}  // namespace platform
