// scrivo-send: sends the Scrivo running on a display one of the messages any program may send it.
#include <charconv>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "system/display_name.h"
#include "system/remote.h"

namespace {

constexpr const char* kUsage =
    "usage: scrivo-send [--display NAME] close | hibernate | command ID | app\n"
    "  --display NAME  the Scrivo of that display (\":1\", \"wayland-0\"); without it, the one of\n"
    "                  the display this program runs on (DISPLAY, else WAYLAND_DISPLAY)\n"
    "  close       close Scrivo (it saves the notepad first)\n"
    "  hibernate   tell Scrivo that memory runs low (it closes the same way)\n"
    "  command ID  run the command with that number (1 to 65535), as its menu would\n"
    "  app         open Scrivo's command menu\n"
    "  --help      show this and exit\n"
    "Exit code 0 when Scrivo took the message, 1 when no Scrivo runs or it did not, 2 for a wrong use.\n";

struct Message {
    UINT message = 0;
    WPARAM wParam = 0;
    platform::DisplayName display;
};

bool parse(int argc, char** argv, Message* out) {
    int at = 1;
    if (argc > 2 && std::string_view(argv[1]) == "--display") {
        out->display = platform::display_named(argv[2]);
        if (out->display.kind == platform::DisplayName::Kind::None) return false;
        at = 3;
    } else {
        out->display = platform::display_from_environment();
    }
    const int words = argc - at;
    if (words < 1) return false;
    const std::string_view verb = argv[at];
    if (words == 1 && verb == "close") out->message = WM_CLOSE;
    else if (words == 1 && verb == "hibernate") out->message = WM_HIBERNATE;
    else if (words == 1 && verb == "app") out->message = WM_APP;
    else if (words == 2 && verb == "command") {
        const std::string_view text = argv[at + 1];
        unsigned id = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
        if (error != std::errc{} || end != text.data() + text.size() || id == 0 || id > 0xFFFF) return false;
        out->message = WM_COMMAND;
        out->wParam = id;
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Message m;
    if (!parse(argc, argv, &m)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!platform::remote_enable(m.display.key)) {
        std::fprintf(stderr, "scrivo-send: cannot reach other programs: %s\n", std::strerror(errno));
        return 1;
    }
    // Looking for the window reserves its name when there is none; ending the process (which follows
    // at once) releases it, so a Scrivo starting now is not kept from running.
    const HWND scrivo = FindWindowW(L"Main Window", L"Scrivo");
    const bool delivered = scrivo != nullptr && PostMessageW(scrivo, m.message, m.wParam, 0);
    platform::remote_shutdown();
    if (scrivo == nullptr) {
        std::fprintf(stderr, "scrivo-send: Scrivo is not running on the display %s\n",
                     m.display.kind == platform::DisplayName::Kind::None ? "(none named)" : m.display.name.c_str());
        return 1;
    }
    if (!delivered) {
        std::fputs("scrivo-send: Scrivo did not take the message (it may just have closed)\n", stderr);
        return 1;
    }
    return 0;
}
