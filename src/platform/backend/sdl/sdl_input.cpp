#include "backend/sdl/sdl_input.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "backend/sdl/sdl_keys.h"
#include "core/utf8.h"

namespace platform {

bool SdlInput::pointer(DeviceEvent::Type type, int x, int y, PointerSource source, DeviceEvent* out) const {
    // A stylus cannot leave the screen; a captured mouse dragged past the edge stops at it.
    out->type = type;
    out->source = source;
    out->x = std::clamp(x, 0, width_ - 1);
    out->y = std::clamp(y, 0, height_ - 1);
    return true;
}

bool SdlInput::several_fingers(DeviceEvent::Type type, const SDL_TouchFingerEvent& touch, int x, int y,
                               DeviceEvent* out) {
    if (type == DeviceEvent::Type::PointerDown) {
        const bool first_of_several = taps_.down(touch.touchId, touch.fingerId, x, y, touch.timestamp);
        // The first finger's press is void, and its release will not come; the fingers keep the
        // stylus until the last of them leaves.
        if (!first_of_several || holder_ != Holder::Finger) return false;
        *out = DeviceEvent{};
        out->type = DeviceEvent::Type::PointerCancel;
        out->source = PointerSource::Touch;
        out->x = tap_x_;
        out->y = tap_y_;
        return true;
    }
    if (type == DeviceEvent::Type::PointerMove) {
        taps_.move(touch.touchId, touch.fingerId, x, y);
        return false;
    }
    const int fingers = taps_.up(touch.touchId, touch.fingerId, touch.timestamp);
    if (fingers == 0) return false;
    if (holder_ == Holder::Finger) holder_ = Holder::None;
    *out = DeviceEvent{};
    out->type = DeviceEvent::Type::FingerTap;
    out->source = PointerSource::Touch;
    out->fingers = fingers;
    out->x = tap_x_;
    out->y = tap_y_;
    return true;
}

bool SdlInput::finger(DeviceEvent::Type type, const SDL_TouchFingerEvent& touch, DeviceEvent* out) {
    // Finger positions are fractions of the window.
    const int x = static_cast<int>(std::floor(touch.x * static_cast<float>(width_)));
    const int y = static_cast<int>(std::floor(touch.y * static_cast<float>(height_)));
    const bool alone = !taps_.several();
    if (type == DeviceEvent::Type::PointerDown && alone && holder_ == Holder::None) {
        tap_x_ = std::clamp(x, 0, width_ - 1);
        tap_y_ = std::clamp(y, 0, height_ - 1);
    }
    const bool tracked = several_fingers(type, touch, x, y, out);
    if (tracked || taps_.several()) return tracked;
    if (!alone) {
        // The last of several fingers has just left.
        if (holder_ == Holder::Finger) holder_ = Holder::None;
        return false;
    }
    if (type == DeviceEvent::Type::PointerDown) {
        if (holder_ != Holder::None) return false;
        holder_ = Holder::Finger;
        touch_ = touch.touchId;
        finger_ = touch.fingerId;
    } else if (holder_ != Holder::Finger || touch.touchId != touch_ || touch.fingerId != finger_) {
        return false;
    }
    if (type == DeviceEvent::Type::PointerUp) holder_ = Holder::None;
    if (!pointer(type, x, y, PointerSource::Touch, out)) return false;
    finger_x_ = out->x;
    finger_y_ = out->y;
    return true;
}

bool SdlInput::left_button_down(const SDL_MouseButtonEvent& button, DeviceEvent* out) {
    const bool pen = mouse_source_ == PointerSource::Pen || mouse_source_ == PointerSource::Eraser;
    if (holder_ == Holder::Finger && pen) {
        // The finger down first was the hand resting on the screen: its stroke ends where it is.
        DeviceEvent down;
        mouse_pointer(DeviceEvent::Type::PointerDown, button.x, button.y, &down);
        pending_.push_front(down);
        holder_ = Holder::Mouse;
        return pointer(DeviceEvent::Type::PointerUp, finger_x_, finger_y_, PointerSource::Touch, out);
    }
    if (holder_ != Holder::None) return false;
    holder_ = Holder::Mouse;
    return mouse_pointer(DeviceEvent::Type::PointerDown, button.x, button.y, out);
}

bool SdlInput::take_pending(DeviceEvent* out) {
    if (pending_.empty()) return false;
    *out = pending_.front();
    pending_.pop_front();
    return true;
}

bool SdlInput::translate(const SDL_Event& event, DeviceEvent* out) {
    *out = DeviceEvent{};
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
        // Touches also arrive as synthetic mouse events; the finger events already carry them.
        if (event.button.which == SDL_TOUCH_MOUSEID) return false;
        if (event.button.button == SDL_BUTTON_RIGHT)
            return mouse_pointer(DeviceEvent::Type::RightButtonDown, event.button.x, event.button.y, out);
        if (event.button.button != SDL_BUTTON_LEFT) return false;
        return left_button_down(event.button, out);
    case SDL_MOUSEBUTTONUP:
        if (event.button.which == SDL_TOUCH_MOUSEID) return false;
        if (event.button.button == SDL_BUTTON_RIGHT)
            return mouse_pointer(DeviceEvent::Type::RightButtonUp, event.button.x, event.button.y, out);
        if (event.button.button != SDL_BUTTON_LEFT || holder_ != Holder::Mouse) return false;
        holder_ = Holder::None;
        return mouse_pointer(DeviceEvent::Type::PointerUp, event.button.x, event.button.y, out);
    case SDL_MOUSEMOTION:
        if (event.motion.which == SDL_TOUCH_MOUSEID || holder_ == Holder::Finger) return false;
        if (std::exchange(pointer_entered_, false) && holder_ == Holder::None) return false;
        return mouse_pointer(holder_ == Holder::Mouse ? DeviceEvent::Type::PointerMove : DeviceEvent::Type::PointerHover,
                             event.motion.x, event.motion.y, out);
    case SDL_MOUSEWHEEL: {
        // Sideways turns mean nothing here. The turns are taken as SDL reports them, so a user's
        // "natural scrolling" setting holds.
        if (event.wheel.which == SDL_TOUCH_MOUSEID || event.wheel.y == 0) return false;
        out->wheel = event.wheel.y;
        return mouse_pointer(DeviceEvent::Type::Wheel, event.wheel.mouseX, event.wheel.mouseY, out);
    }
    case SDL_FINGERDOWN: return finger(DeviceEvent::Type::PointerDown, event.tfinger, out);
    case SDL_FINGERMOTION: return finger(DeviceEvent::Type::PointerMove, event.tfinger, out);
    case SDL_FINGERUP: return finger(DeviceEvent::Type::PointerUp, event.tfinger, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        out->vk = virtual_key_from_sdl(event.key.keysym.sym, (event.key.keysym.mod & KMOD_NUM) != 0);
        if (out->vk == 0) return false;
        out->type = event.type == SDL_KEYDOWN ? DeviceEvent::Type::KeyDown : DeviceEvent::Type::KeyUp;
        out->repeat = event.key.repeat != 0;
        return true;
    case SDL_TEXTINPUT:
        for (const wchar_t c : utf8_to_wide(event.text.text)) {
            DeviceEvent typed;
            typed.type = DeviceEvent::Type::Text;
            typed.character = static_cast<char32_t>(c);
            pending_.push_back(typed);
        }
        return take_pending(out);
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: out->type = DeviceEvent::Type::FocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: out->type = DeviceEvent::Type::FocusLost; return true;
        case SDL_WINDOWEVENT_CLOSE: out->type = DeviceEvent::Type::CloseRequested; return true;
        case SDL_WINDOWEVENT_ENTER: pointer_entered_ = true; return false;
        default: return false;
        }
    default:
        if (event.type == wake_type_) {
            out->type = DeviceEvent::Type::Wake;
            return true;
        }
        return false;
    }
}

}  // namespace platform
