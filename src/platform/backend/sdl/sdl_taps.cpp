#include "backend/sdl/sdl_taps.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

FingerTaps::Finger* FingerTaps::find(SDL_TouchID touch, SDL_FingerID finger) {
    const auto it = std::find_if(fingers_.begin(), fingers_.end(),
                                 [touch, finger](const Finger& f) { return f.touch == touch && f.id == finger; });
    return it == fingers_.end() ? nullptr : &*it;
}

bool FingerTaps::down(SDL_TouchID touch, SDL_FingerID finger, int x, int y, std::uint32_t time) {
    if (fingers_.empty()) {
        most_ = 0;
        started_ = time;
        travelled_ = false;
    }
    if (!find(touch, finger)) fingers_.push_back({touch, finger, x, y});
    const int before = most_;
    most_ = std::max(most_, static_cast<int>(fingers_.size()));
    return before < 2 && most_ >= 2;
}

void FingerTaps::move(SDL_TouchID touch, SDL_FingerID finger, int x, int y) {
    const Finger* f = find(touch, finger);
    if (f && (std::abs(x - f->start_x) > kFarthest || std::abs(y - f->start_y) > kFarthest)) travelled_ = true;
}

int FingerTaps::up(SDL_TouchID touch, SDL_FingerID finger, std::uint32_t time) {
    const Finger* f = find(touch, finger);
    if (!f) return 0;
    fingers_.erase(fingers_.begin() + (f - fingers_.data()));
    if (!fingers_.empty()) return 0;
    const bool tap = most_ >= 2 && !travelled_ && time - started_ <= kLongestTap;
    const int fingers = most_;
    most_ = 0;
    return tap ? fingers : 0;
}

}  // namespace platform
