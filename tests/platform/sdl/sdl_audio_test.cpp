#include "backend/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "core/clock.h"

namespace platform {
namespace {

void put(std::vector<std::uint8_t>* out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A RIFF WAVE file of silence in plain PCM.
std::vector<std::uint8_t> wave(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits, std::uint32_t frames) {
    const std::uint32_t block = channels * bits / 8u;
    const std::uint32_t data = frames * block;
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F'};
    put(&file, 36 + data, 4);
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(&file, 16, 4);
    put(&file, 1, 2);  // PCM
    put(&file, channels, 2);
    put(&file, rate, 4);
    put(&file, rate * block, 4);
    put(&file, block, 2);
    put(&file, bits, 2);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    put(&file, data, 4);
    file.resize(file.size() + data, bits == 8 ? 0x80 : 0);
    return file;
}

TEST(SdlAudio, AWaveTakesItsOwnLengthOnThePlatformClock) {
    const struct {
        std::uint32_t rate;
        std::uint16_t channels;
        std::uint16_t bits;
        std::uint32_t frames;
        std::uint64_t milliseconds;
    } waves[] = {{8000, 1, 16, 2000, 250}, {44100, 2, 8, 4410, 100}, {22050, 2, 16, 0, 0}};
    for (const auto& w : waves) {
        clock_use_virtual(1000);
        SdlAudio audio;
        const auto file = wave(w.rate, w.channels, w.bits, w.frames);
        ASSERT_TRUE(audio.play_wave(file.data(), file.size())) << w.rate;
        EXPECT_EQ(clock_now(), 1000 + w.milliseconds) << w.rate;
    }
}

TEST(SdlAudio, BytesThatAreNoWaveAreRefusedAtOnce) {
    clock_use_virtual(0);
    SdlAudio audio;
    const std::uint8_t noise[64] = {'R', 'I', 'F', 'F', 1, 2, 3};
    EXPECT_FALSE(audio.play_wave(noise, sizeof noise));
    EXPECT_FALSE(audio.play_wave(nullptr, 0));
    auto cut = wave(8000, 1, 16, 2000);
    cut.resize(20);
    EXPECT_FALSE(audio.play_wave(cut.data(), cut.size()));
    EXPECT_EQ(clock_now(), 0u);
}

TEST(SdlAudio, WithoutADeviceEverythingWorksSilentlyAndQuietly) {
    struct stat sound_cards;
    if (stat("/dev/snd", &sound_cards) == 0) GTEST_SKIP() << "this machine has sound cards";
    // The sound library of a machine without sound cards complains on the terminal.
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    clock_use_virtual(0);
    ::testing::internal::CaptureStderr();
    {
        SdlAudio audio;
        audio.beep();
        const auto tenth_of_a_second = wave(8000, 1, 16, 800);
        EXPECT_TRUE(audio.play_wave(tenth_of_a_second.data(), tenth_of_a_second.size()));
        audio.beep();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(clock_now(), 100u);
}

}  // namespace
}  // namespace platform
