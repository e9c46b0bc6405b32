#include "window/posted_messages.h"

#include <algorithm>
#include <deque>

#include "core/clock.h"

namespace platform {
namespace {

std::deque<MSG> posted;

}  // namespace

bool in_filter_range(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

void post_to_queue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    posted.push_back({window, message, wParam, lParam, static_cast<DWORD>(clock_peek()), {0, 0}});
}

void drop_posted_messages(HWND window) {
    std::erase_if(posted, [window](const MSG& m) { return m.hwnd == window; });
}

bool take_posted(MSG* message, HWND filter, UINT first, UINT last) {
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if ((filter && it->hwnd != filter) || !in_filter_range(it->message, first, last)) continue;
        *message = *it;
        posted.erase(it);
        return true;
    }
    return false;
}

}  // namespace platform
