#include "backend/sdl/sdl_input.h"

#include <algorithm>
#include <cmath>

#include "backend/sdl/sdl_keys.h"
#include "core/utf8.h"

namespace platform {

bool SdlInput::pointer(DeviceEvent::Type type, int x, int y, DeviceEvent* out) const {
    // A stylus cannot leave the screen; a captured mouse dragged past the edge stops at it.
    out->type = type;
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
    return pointer(type, x, y, out);
}

bool SdlInput::take_pending(DeviceEvent* out) {
    if (pending_text_.empty()) return false;
    *out = DeviceEvent{};
    out->type = DeviceEvent::Type::Text;
    out->character = pending_text_.front();
    pending_text_.pop_front();
    return true;
}

bool SdlInput::translate(const SDL_Event& event, DeviceEvent* out) {
    *out = DeviceEvent{};
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
        // Touches also arrive as synthetic mouse events; the finger events already carry them.
        if (event.button.which == SDL_TOUCH_MOUSEID) return false;
        if (event.button.button == SDL_BUTTON_RIGHT)
            return pointer(DeviceEvent::Type::RightButtonDown, event.button.x, event.button.y, out);
        if (event.button.button != SDL_BUTTON_LEFT || holder_ == Holder::Finger) return false;
        holder_ = Holder::Mouse;
        return pointer(DeviceEvent::Type::PointerDown, event.button.x, event.button.y, out);
    case SDL_MOUSEBUTTONUP:
        if (event.button.which == SDL_TOUCH_MOUSEID) return false;
        if (event.button.button == SDL_BUTTON_RIGHT)
            return pointer(DeviceEvent::Type::RightButtonUp, event.button.x, event.button.y, out);
        if (event.button.button != SDL_BUTTON_LEFT || holder_ != Holder::Mouse) return false;
        holder_ = Holder::None;
        return pointer(DeviceEvent::Type::PointerUp, event.button.x, event.button.y, out);
    case SDL_MOUSEMOTION:
        if (event.motion.which == SDL_TOUCH_MOUSEID || holder_ != Holder::Mouse) return false;
        return pointer(DeviceEvent::Type::PointerMove, event.motion.x, event.motion.y, out);
    case SDL_MOUSEWHEEL: {
        // Sideways turns mean nothing here. The turns are taken as SDL reports them, so a user's
        // "natural scrolling" setting holds.
        if (event.wheel.which == SDL_TOUCH_MOUSEID || event.wheel.y == 0) return false;
        out->wheel = event.wheel.y;
        return pointer(DeviceEvent::Type::Wheel, event.wheel.mouseX, event.wheel.mouseY, out);
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
        for (const wchar_t c : utf8_to_wide(event.text.text)) pending_text_.push_back(static_cast<char32_t>(c));
        return take_pending(out);
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: out->type = DeviceEvent::Type::FocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: out->type = DeviceEvent::Type::FocusLost; return true;
        case SDL_WINDOWEVENT_CLOSE: out->type = DeviceEvent::Type::CloseRequested; return true;
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
