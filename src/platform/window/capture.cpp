// SetCapture and its kin over one checked handle.
#include "window/capture.h"

#include "window/window_table.h"

using namespace platform;

namespace {

HWND capture = nullptr;

}  // namespace

namespace platform {

void forget_capture(HWND window) {
    if (capture && is_within(capture, window)) capture = nullptr;
}

}  // namespace platform

HWND SetCapture(HWND window) {
    if (!find_window(window)) return nullptr;
    const HWND previous = GetCapture();
    capture = window;
    return previous;
}

BOOL ReleaseCapture() {
    capture = nullptr;
    return TRUE;
}

HWND GetCapture() { return find_window(capture) ? capture : nullptr; }
