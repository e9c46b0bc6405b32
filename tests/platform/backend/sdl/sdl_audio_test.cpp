#include "backend/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

namespace platform {
namespace {

TEST(SdlAudio, WithoutADeviceBeepsAreSilentAndQuietAndNoiseIsRefused) {
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
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace platform
