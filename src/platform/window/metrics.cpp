// GetSystemMetrics: the screen's size and the drag distance.
#include "backend/backend.h"
#include "platform/window.h"

using namespace platform;

namespace {

// How far a press may move, at scale 1, and still be a press.
constexpr int kDragPixels = 4;

}  // namespace

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN: return has_backend() ? backend().screen_width() : 0;
    case SM_CYSCREEN: return has_backend() ? backend().screen_height() : 0;
    case SM_CXDRAG:
    case SM_CYDRAG: return kDragPixels * display_scale();
    default: return 0;
    }
}
