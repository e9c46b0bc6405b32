#include "backend/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/clock.h"

namespace platform {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A second of 16-bit mono silence at 8000 frames a second.
std::vector<std::uint8_t> one_second_wave() {
    constexpr std::uint32_t rate = 8000, bytes = rate * 2;
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    put32(file, 36 + bytes);
    for (char c : std::string("WAVEfmt ")) file.push_back(static_cast<std::uint8_t>(c));
    put32(file, 16);
    put32(file, 1 | 1u << 16);  // PCM, one channel
    put32(file, rate);
    put32(file, rate * 2);
    put32(file, 2 | 16u << 16);  // two bytes a frame, 16 bits a sample
    for (char c : std::string("data")) file.push_back(static_cast<std::uint8_t>(c));
    put32(file, bytes);
    file.resize(file.size() + bytes, 0);
    return file;
}

TEST(SdlAudio, WithoutADeviceBeepsAreSilentAndQuietWavesReturnAtOnceAndNoiseIsRefused) {
    struct stat sound_cards;
    if (stat("/dev/snd", &sound_cards) == 0) GTEST_SKIP() << "this machine has sound cards";
    // The sound library of a machine without sound cards complains on the terminal.
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    ::testing::internal::CaptureStderr();
    {
        SdlAudio audio;
        audio.beep();
        const std::uint8_t noise[64] = {'R', 'I', 'F', 'F', 1, 2, 3};
        EXPECT_FALSE(audio.play_wave(noise, sizeof noise));
        EXPECT_FALSE(audio.play_wave(nullptr, 0));
        audio.beep();
        // A program waiting for its sound would otherwise stand still for nothing.
        clock_use_virtual(1000);
        const auto wave = one_second_wave();
        EXPECT_TRUE(audio.play_wave(wave.data(), wave.size()));
        EXPECT_EQ(clock_now(), 1000u);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace platform
