// scrivo-send: sends the running Scrivo one of the messages any program may send it.
#include <charconv>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/platform.h"
#include "system/remote.h"

namespace {

constexpr const char* kUsage =
    "usage: scrivo-send close | hibernate | command ID | app\n"
    "  close       close Scrivo (it saves the notepad first)\n"
    "  hibernate   tell Scrivo that memory runs low (it closes the same way)\n"
    "  command ID  run the command with that number (1 to 65535), as its menu would\n"
    "  app         open Scrivo's command menu\n"
    "  --help      show this and exit\n"
    "Exit code 0 when Scrivo took the message, 1 when no Scrivo runs or it did not, 2 for a wrong use.\n";

struct Message {
    UINT message = 0;
    WPARAM wParam = 0;
};

bool parse(int argc, char** argv, Message* out) {
    if (argc < 2) return false;
    const std::string_view verb = argv[1];
    if (argc == 2 && verb == "close") *out = {WM_CLOSE, 0};
    else if (argc == 2 && verb == "hibernate") *out = {WM_HIBERNATE, 0};
    else if (argc == 2 && verb == "app") *out = {WM_APP, 0};
    else if (argc == 3 && verb == "command") {
        const std::string_view text = argv[2];
        unsigned id = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
        if (error != std::errc{} || end != text.data() + text.size() || id == 0 || id > 0xFFFF) return false;
        *out = {WM_COMMAND, id};
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
    if (!platform::remote_enable()) {
        std::fprintf(stderr, "scrivo-send: cannot reach other programs: %s\n", std::strerror(errno));
        return 1;
    }
    // Looking for the window reserves its name when there is none; ending the process (which follows
    // at once) releases it, so a Scrivo starting now is not kept from running.
    const HWND scrivo = FindWindowW(L"Main Window", L"Scrivo");
    const bool delivered = scrivo != nullptr && PostMessageW(scrivo, m.message, m.wParam, 0);
    platform::remote_shutdown();
    if (scrivo == nullptr) {
        std::fputs("scrivo-send: Scrivo is not running\n", stderr);
        return 1;
    }
    if (!delivered) {
        std::fputs("scrivo-send: Scrivo did not take the message (it may just have closed)\n", stderr);
        return 1;
    }
    return 0;
}
