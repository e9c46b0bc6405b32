#include "backend/sdl/sdl_audio.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "core/clock.h"

namespace platform {
namespace {

constexpr int kRate = 48000;
constexpr int kBeepHz = 880;
constexpr int kBeepMs = 80;
constexpr int kFadeMs = 5;  // ramps at both ends, so the tone starts and stops without a click

// Sound libraries print their complaints about missing devices straight onto the terminal; a
// program without sound should start as quietly as one with it.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;
    ~QuietStderr() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }

private:
    int saved_;
};

std::uint64_t milliseconds_of(std::size_t bytes, const SDL_AudioSpec& audio) {
    const std::size_t frame = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(audio.format) / 8) * audio.channels;
    if (frame == 0 || audio.freq <= 0) return 0;
    return static_cast<std::uint64_t>(bytes / frame) * 1000u / static_cast<std::uint64_t>(audio.freq);
}

// Waits on the platform clock: in real time on the real clock, at once on a virtual one.
void wait_milliseconds(std::uint64_t milliseconds) {
    const std::uint64_t end = clock_now() + milliseconds;
    for (std::uint64_t now = clock_now(); now < end; now = clock_now()) {
        if (clock_is_virtual())
            clock_advance(end - now);
        else
            SDL_Delay(static_cast<Uint32>(std::min<std::uint64_t>(end - now, 20)));
    }
}

}  // namespace

SdlAudio::~SdlAudio() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::open() {
    if (tried_) return device_ != 0;
    tried_ = true;
    QuietStderr quiet;
    subsystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!subsystem_) return false;
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    // No changes allowed: SDL converts to whatever the hardware takes, so everything queued here
    // is in this one format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &device_format_, 0);
    if (device_ == 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudio::beep() {
    if (!open()) return;
    constexpr int frames = kRate * kBeepMs / 1000;
    constexpr int fade = kRate * kFadeMs / 1000;
    std::vector<Sint16> tone(frames);
    for (int i = 0; i < frames; ++i) {
        const double envelope = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(frames - i) / fade});
        const double wave = std::sin(2.0 * std::numbers::pi * kBeepHz * i / kRate);
        tone[static_cast<std::size_t>(i)] = static_cast<Sint16>(wave * envelope * 12000.0);
    }
    SDL_QueueAudio(device_, tone.data(), static_cast<Uint32>(tone.size() * sizeof(Sint16)));
}

bool SdlAudio::play_wave(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > INT_MAX) return false;
    SDL_RWops* source = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (source == nullptr) return false;
    SDL_AudioSpec wave{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(source, 1, &wave, &samples, &length) == nullptr) return false;

    // Without a device nothing plays, so there is nothing to wait for: the caller goes on at once.
    if (!open()) {
        SDL_FreeWAV(samples);
        return true;
    }
    // Whatever is still queued ahead of this sound plays first.
    const std::uint64_t playing =
        milliseconds_of(length, wave) + milliseconds_of(SDL_GetQueuedAudioSize(device_), device_format_);
    SDL_AudioStream* stream = SDL_NewAudioStream(wave.format, wave.channels, wave.freq, device_format_.format,
                                                 device_format_.channels, device_format_.freq);
    if (stream != nullptr && SDL_AudioStreamPut(stream, samples, static_cast<int>(length)) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        std::vector<Uint8> converted(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, converted.data(), static_cast<int>(converted.size()));
        if (got > 0) SDL_QueueAudio(device_, converted.data(), static_cast<Uint32>(got));
    }
    if (stream != nullptr) SDL_FreeAudioStream(stream);
    SDL_FreeWAV(samples);
    wait_milliseconds(playing);
    return true;
}

}  // namespace platform
