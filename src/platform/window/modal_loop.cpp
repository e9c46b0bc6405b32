#include "window/modal_loop.h"

#include "window/window_table.h"

namespace platform {

bool ModalLoop::run(HWND window, const Filter& filter) {
    Window* owner = find_window(owner_);
    const HWND top_owner = owner ? top_level_of(*owner).handle : nullptr;
    // An owner that is already disabled (by an outer loop) is that loop's to enable again.
    const bool disabled_here = top_owner && IsWindowEnabled(top_owner);
    if (disabled_here) EnableWindow(top_owner, FALSE);

    MSG msg;
    while (!ended_ && IsWindow(window)) {
        if (GetMessageW(&msg, nullptr, 0, 0) == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (filter && filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (disabled_here && IsWindow(top_owner)) EnableWindow(top_owner, TRUE);
    return ended_;
}

}  // namespace platform
