// Several fingers tapping the screen at once: the first finger's touch is a stroke until a second
// one lands, then the whole touch is a tap if the fingers leave soon without travelling.
#pragma once

#include <SDL2/SDL_touch.h>

#include <cstdint>
#include <vector>

namespace platform {

class FingerTaps {
public:
    // Each finger event, with its position in pixels and SDL's time stamp. `down` returns true when
    // this finger makes the touch one of several fingers: the stroke begun by the first is void.
    bool down(SDL_TouchID touch, SDL_FingerID finger, int x, int y, std::uint32_t time);
    void move(SDL_TouchID touch, SDL_FingerID finger, int x, int y);
    // The number of fingers that tapped, 2 or more, once the last finger leaves; 0 otherwise.
    int up(SDL_TouchID touch, SDL_FingerID finger, std::uint32_t time);
    // Several fingers are on the screen or have been since the last one alone.
    bool several() const { return most_ >= 2; }

    // Longer than this, or farther than this on either axis, it is no tap.
    static constexpr std::uint32_t kLongestTap = 400;
    static constexpr int kFarthest = 24;

private:
    struct Finger {
        SDL_TouchID touch;
        SDL_FingerID id;
        int start_x;
        int start_y;
    };
    Finger* find(SDL_TouchID touch, SDL_FingerID finger);

    std::vector<Finger> fingers_;
    int most_ = 0;
    std::uint32_t started_ = 0;
    bool travelled_ = false;
};

}  // namespace platform
