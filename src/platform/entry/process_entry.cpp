// The process entry point: opens the display, lets other processes of the same display and signals
// reach the program, and runs WinMain.
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "backend/backend.h"
#include "backend/sdl/sdl_backend.h"
#include "core/utf8.h"
#include "platform/platform.h"
#include "system/display_name.h"
#include "system/module.h"
#include "system/paths.h"
#include "system/remote.h"

namespace {

// The arguments after the program's name, joined with spaces.
std::wstring command_line_of(int argc, char** argv) {
    std::wstring line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line.push_back(L' ');
        line += platform::utf8_to_wide(argv[i]);
    }
    return line;
}

// Desktops match a window to its launcher by the window's class. As they expect of a program
// installed under a lower-case name, the class is that name with a capital first letter.
std::string window_class() {
    const auto path = platform::program_path();
    std::string name = path ? platform::file_name_of(*path) : std::string();
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    const char* program = argc > 0 ? argv[0] : "";
    // Before anything takes the single-instance name: a copy that cannot show itself must not
    // keep a later one from running.
    const platform::DisplayName display_name = platform::display_from_environment();
    std::string error;
    std::unique_ptr<platform::SdlBackend> opened = platform::SdlBackend::open(
        platform::sdl_screen_from_environment(), platform::display_to_open(display_name), window_class(), &error);
    if (!opened) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 1;
    }
    const platform::SdlBackend& display = *opened;
    platform::set_backend(std::move(opened));
    platform::remote_forward_termination_signals();
    platform::remote_enable(display_name.key);

    std::wstring command_line = command_line_of(argc, argv);
    int code = WinMain(platform::program_instance(), nullptr, command_line.data(), SW_SHOW);
    if (display.display_lost()) {
        std::fprintf(stderr, "%s: lost the display %s; ended as if asked to close\n", program, display_name.name.c_str());
        code = 1;
    }

    // Nothing may wake a backend that is gone.
    platform::remote_shutdown();
    platform::set_backend(nullptr);
    return code;
}
