// Sound through SDL: a short tone and WAVE files, on a device opened when first needed. Without an
// audio device both return at once, silently.
#pragma once

#include <SDL2/SDL_audio.h>

#include <cstddef>
#include <cstdint>

namespace platform {

class SdlAudio {
public:
    SdlAudio() = default;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;
    ~SdlAudio();

    // Queues a short tone and returns at once.
    void beep();
    // Queues the file's sound and returns when it (and whatever was queued before it) has played,
    // as measured on the platform clock; at once when there is no device. False for data that is
    // not a WAVE file SDL can read.
    bool play_wave(const std::uint8_t* data, std::size_t size);

private:
    // Opens the device on first use; false, then and from then on, when there is none.
    bool open();

    bool tried_ = false;
    bool subsystem_ = false;
    SDL_AudioDeviceID device_ = 0;  // 0: no device
    SDL_AudioSpec device_format_{};
};

}  // namespace platform
