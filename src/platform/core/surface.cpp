#include "core/surface.h"

#include <algorithm>

namespace platform {

void DirtyRegion::add(const Rect& r) {
    if (r.empty()) return;
    // A stroke's stamps mostly fall within what it has dirtied already, and then cost no more than
    // this look.
    for (const Rect& existing : rects_)
        if (r.left >= existing.left && r.top >= existing.top && r.right <= existing.right && r.bottom <= existing.bottom)
            return;
    join(r);
}

void DirtyRegion::join(const Rect& r) {
    // Only rectangles with area are kept, so none of them needs unite's tests for empty ones.
    for (Rect& existing : rects_) {
        const Rect joined{std::min(existing.left, r.left), std::min(existing.top, r.top),
                          std::max(existing.right, r.right), std::max(existing.bottom, r.bottom)};
        // Join when the union wastes little: overlapping or adjoining strokes stay one rectangle.
        if (static_cast<long long>(joined.width()) * joined.height() <=
            static_cast<long long>(existing.width()) * existing.height() +
                static_cast<long long>(r.width()) * r.height() + 1024) {
            existing = joined;
            return;
        }
    }
    if (rects_.size() < kMaxRects) {
        rects_.push_back(r);
        return;
    }
    Rect all = r;
    for (const Rect& existing : rects_) all = unite(all, existing);
    rects_.assign(1, all);
}

}  // namespace platform
