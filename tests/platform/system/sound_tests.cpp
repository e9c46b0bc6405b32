#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "backend/headless/headless.h"
#include "platform/system.h"
#include "temp_folder.h"

namespace {

// The smallest RIFF WAVE file: a format chunk and no samples.
std::string wave_file() {
    const char bytes[] = "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data\0\0\0\0";
    return std::string(bytes, sizeof bytes - 1);
}

std::filesystem::path program_folder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

// A file put somewhere for one test, removed afterwards with the folders made for it.
class PlacedFile {
public:
    PlacedFile(const std::filesystem::path& path, const std::string& text) : remove_(path) {
        while (!std::filesystem::exists(remove_.parent_path())) remove_ = remove_.parent_path();
        std::filesystem::create_directories(path.parent_path());
        write_text(path.string(), text);
    }
    ~PlacedFile() { std::filesystem::remove_all(remove_); }
    PlacedFile(const PlacedFile&) = delete;
    PlacedFile& operator=(const PlacedFile&) = delete;

private:
    std::filesystem::path remove_;  // the file, or the topmost folder that was made for it
};

}  // namespace

TEST(Sound, AMissingOrForeignFilePlaysNothingAndMakesNoNoise) {
    platform::HeadlessBackend& screen = platform::use_headless_backend();
    TempFolder folder;
    write_text(folder.at("notes.wav"), "not a sound at all");
    write_text(folder.at("riff.wav"), std::string("RIFF\4\0\0\0AVI ", 12));
    for (const char* name : {"missing.wav", "notes.wav", "riff.wav"})
        EXPECT_FALSE(PlaySoundW(folder.wide(name).c_str(), nullptr, SND_FILENAME)) << name;
    EXPECT_FALSE(PlaySoundW(L"NoSuchSound.wav", nullptr, SND_FILENAME));
    EXPECT_EQ(screen.waves_played(), 0);
    EXPECT_EQ(screen.beeps(), 0);
}

TEST(Sound, AWaveFileIsPlayedFromAnAbsolutePathOrBesideTheProgram) {
    platform::HeadlessBackend& screen = platform::use_headless_backend();
    TempFolder folder;
    write_text(folder.at("click.wav"), wave_file());
    EXPECT_TRUE(PlaySoundW(folder.wide("click.wav").c_str(), nullptr, SND_FILENAME));
    EXPECT_EQ(screen.waves_played(), 1);

    const std::string name = "beside-" + std::filesystem::path(folder.path()).filename().string() + ".wav";
    const PlacedFile beside(program_folder() / name, wave_file());
    EXPECT_TRUE(PlaySoundW(widen(name).c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_EQ(screen.waves_played(), 2);
}

TEST(Sound, ABareNameIsAlsoLookedForInTheInstalledDataFolder) {
    platform::HeadlessBackend& screen = platform::use_headless_backend();
    TempFolder folder;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    const std::string name = "shared-" + std::filesystem::path(folder.path()).filename().string() + ".wav";
    const PlacedFile shared(program_folder().parent_path() / "share" / exe.filename() / name, wave_file());
    EXPECT_TRUE(PlaySoundW(widen(name).c_str(), nullptr, SND_FILENAME));
    EXPECT_EQ(screen.waves_played(), 1);
}

TEST(Sound, NoNameStopsSoundAndSucceeds) {
    platform::HeadlessBackend& screen = platform::use_headless_backend();
    EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));
    EXPECT_EQ(screen.waves_played(), 0);
}
