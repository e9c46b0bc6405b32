#include "controls/press_tracker.h"

namespace platform {
namespace {

constexpr LONG_PTR kTrackingBit = 1;
constexpr LONG_PTR kOverBit = 2;
constexpr LONG_PTR kTookCaptureBit = 4;

}  // namespace

Press PressTracker::follow(HWND window, UINT message, bool over) {
    switch (message) {
    case WM_LBUTTONDOWN:
        if (!over) return Press::Ignored;
        tracking_ = over_ = true;
        took_capture_ = GetCapture() != window;
        if (took_capture_) SetCapture(window);
        return Press::Began;
    case WM_MOUSEMOVE:
        if (!tracking_) return Press::Ignored;
        if (took_capture_ && GetCapture() != window) {
            cancel(window);
            return Press::Cancelled;
        }
        over_ = over;
        return Press::Moved;
    case WM_LBUTTONUP: {
        if (!tracking_) return Press::Ignored;
        const bool lost = took_capture_ && GetCapture() != window;
        cancel(window);
        return over && !lost ? Press::Activated : Press::Cancelled;
    }
    case WM_CANCELMODE:
        if (!tracking_) return Press::Ignored;
        cancel(window);
        return Press::Cancelled;
    default:
        return Press::Ignored;
    }
}

void PressTracker::cancel(HWND window) {
    // Only the capture this press took is given back: a menu holds its own for as long as it is open.
    if (took_capture_ && GetCapture() == window) ReleaseCapture();
    tracking_ = over_ = took_capture_ = false;
}

LONG_PTR PressTracker::to_bits() const {
    return (tracking_ ? kTrackingBit : 0) | (over_ ? kOverBit : 0) | (took_capture_ ? kTookCaptureBit : 0);
}

PressTracker PressTracker::from_bits(LONG_PTR bits) {
    PressTracker t;
    t.tracking_ = (bits & kTrackingBit) != 0;
    t.over_ = (bits & kOverBit) != 0;
    t.took_capture_ = (bits & kTookCaptureBit) != 0;
    return t;
}

bool lies_in(const RECT& r, LPARAM position) {
    const int x = GET_X_LPARAM(position);
    const int y = GET_Y_LPARAM(position);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool lies_in_client(HWND window, LPARAM position) {
    RECT client{};
    return GetClientRect(window, &client) && lies_in(client, position);
}

}  // namespace platform
