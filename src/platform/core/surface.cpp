#include "core/surface.h"

namespace platform {

void DirtyRegion::add(const Rect& r) {
    if (r.empty()) return;
    for (Rect& existing : rects_) {
        const Rect joined = unite(existing, r);
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
