#include "backend/backend.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {
std::unique_ptr<Backend> current;
}

Backend& backend() {
    if (!current) std::abort();  // a start-up fault, not something a caller can recover from
    return *current;
}

bool has_backend() { return current != nullptr; }

int scale_for_screen(int desktop_scale, int width, int height) {
    if (desktop_scale > 0) return std::min(desktop_scale, kLargestScale);
    constexpr int kScaleOneShortSide = 1080;
    const int short_side = std::min(width, height);
    return std::clamp((short_side + kScaleOneShortSide / 2) / kScaleOneShortSide, 1, kLargestScale);
}

int display_scale() {
    if (!current) return 1;
    return scale_for_screen(current->desktop_scale(), current->screen_width(), current->screen_height());
}

int fitted_scale_for_screen(int chrome_scale, int width, int height) {
    const int fits = std::min(width / kDeviceScreenWidth, height / kDeviceScreenHeight);
    return std::max({1, chrome_scale, fits});
}

int fitted_scale() {
    if (!current) return 1;
    return fitted_scale_for_screen(display_scale(), current->screen_width(), current->screen_height());
}

Rect fitted_area() {
    const int factor = fitted_scale();
    const int width = kDeviceScreenWidth * factor;
    const int height = kDeviceScreenHeight * factor;
    const int screen_width = current ? current->screen_width() : kDeviceScreenWidth;
    const int screen_height = current ? current->screen_height() : kDeviceScreenHeight;
    const int left = std::max(0, (screen_width - width) / 2);
    const int top = std::max(0, (screen_height - height) / 2);
    return {left, top, left + width, top + height};
}

void set_backend(std::unique_ptr<Backend> b) { current = std::move(b); }

}  // namespace platform
