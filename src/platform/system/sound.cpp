// PlaySoundW (WAVE files from disk) and MessageBeep, played by the display backend.
#include <cstring>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "platform/system.h"
#include "system/module.h"
#include "system/paths.h"
#include "system/posix_io.h"

namespace {

// A sound longer than this is not something a program of this kind plays.
constexpr std::size_t kLargestSound = 64u << 20;

// Where a sound named without a folder may be: beside the program, then in the data folder an
// installation puts beside the program's folder ("<prefix>/bin/x" finds "<prefix>/share/x/").
std::vector<std::string> places_for(const std::string& name) {
    if (!name.empty() && name[0] == '/') return {name};
    const auto program = platform::program_path();
    if (!program) return {};
    const std::string folder = platform::folder_of(*program);
    return {folder + "/" + name, folder + "/../share/" + platform::file_name_of(*program) + "/" + name};
}

bool is_wave(const std::string& bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 && std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

}  // namespace

// SND_ASYNC is played to the end before returning as well: the program only ever waits for its
// sounds, and a short click played in full costs it nothing it would notice.
BOOL PlaySoundW(LPCWSTR sound, HMODULE, DWORD) {
    // Nothing plays once a call has returned, so there is nothing to stop.
    if (!sound) return TRUE;
    const auto name = platform::native_path(sound);
    if (!name || !platform::has_backend()) return FALSE;
    for (const std::string& place : places_for(*name)) {
        const auto bytes = platform::read_file_prefix(place, kLargestSound + 1);
        if (!bytes) continue;
        if (bytes->size() > kLargestSound || !is_wave(*bytes)) return FALSE;
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
        return platform::backend().play_wave(data, bytes->size()) ? TRUE : FALSE;
    }
    return FALSE;
}

// Every kind of beep sounds the same short tone; without a display there is nothing to sound.
BOOL MessageBeep(UINT) {
    if (platform::has_backend()) platform::backend().beep();
    return TRUE;
}
