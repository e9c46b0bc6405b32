#include "backend/sdl/sdl_scale.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <system_error>

#include "backend/backend.h"

// Last: the X headers it brings define words such as None and Status as macros.
#include <SDL2/SDL_syswm.h>

namespace platform {
namespace {

// A whole number from 1 to kLargestScale, or 0.
int scale_from(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 1 && value <= kLargestScale ? value : 0;
}

// The value of the resource "Xft.dpi" in the X resource database's text, or an empty view.
std::string_view xft_dpi(std::string_view resources) {
    constexpr std::string_view kName = "Xft.dpi:";
    for (std::size_t at = 0; at < resources.size();) {
        const std::size_t end = std::min(resources.find('\n', at), resources.size());
        std::string_view line = resources.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(kName)) continue;
        line.remove_prefix(kName.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        return line;
    }
    return {};
}

}  // namespace

const char* sdl_x_resources(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return XResourceManagerString(info.info.x11.display);
}

int sdl_desktop_scale(const char* scrivo_scale, const char* gdk_scale, const char* x_resources,
                      std::string* complaint) {
    if (scrivo_scale != nullptr) {
        if (const int factor = scale_from(scrivo_scale)) return factor;
        if (complaint != nullptr)
            *complaint = "SCRIVO_SCALE=" + std::string(scrivo_scale) + " is not a whole number from 1 to " +
                         std::to_string(kLargestScale) + "; it is ignored";
    }
    if (gdk_scale != nullptr)
        if (const int factor = scale_from(gdk_scale)) return factor;
    if (x_resources != nullptr) {
        constexpr int kPlainDpi = 96;
        const std::string_view text = xft_dpi(x_resources);
        double dpi = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), dpi);
        if (error == std::errc{} && end != text.data() && dpi > 0 && dpi != kPlainDpi)
            return static_cast<int>(std::clamp(dpi / kPlainDpi + 0.5, 1.0, double{kLargestScale}));
    }
    return 0;
}

}  // namespace platform
