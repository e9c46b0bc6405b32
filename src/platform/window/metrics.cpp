// GetSystemMetrics: the drag distance.
#include "backend/backend.h"
#include "platform/window.h"

using namespace platform;

namespace {

// How far a press may move, at scale 1, and still be a press.
constexpr int kDragPixels = 4;

}  // namespace

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXDRAG:
    case SM_CYDRAG: return kDragPixels * display_scale();
    default: return 0;
    }
}
