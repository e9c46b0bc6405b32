// The one modal loop, shared by message boxes, dialogs and popup menus. While it runs the owner's
// top-level window is disabled and every message is dispatched, so timers, paints, posted
// messages and nested modal loops all go on inside it.
#pragma once

#include <functional>

#include "platform/window.h"

namespace platform {

class ModalLoop {
public:
    // Offered each message before it is dispatched; true when it has dealt with it (a dialog's keys,
    // a menu's keys), and the message then goes no further.
    using Filter = std::function<bool(const MSG&)>;

    // `owner` is any window of the top-level window to disable while the loop runs; null for none.
    explicit ModalLoop(HWND owner) : owner_(owner) {}
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // Runs until end() is called, `window` is destroyed, or a WM_QUIT arrives (posted again, so
    // that the loop outside ends too). The owner is enabled again before it returns, so that it
    // becomes active once `window` goes. True when end() ended it.
    bool run(HWND window, const Filter& filter = {});

    // Ends the loop once the message being dispatched has been handled; any window procedure may
    // call it, also while a nested loop runs (this one ends after that one).
    void end() { ended_ = true; }
    bool ended() const { return ended_; }

private:
    HWND owner_;
    bool ended_ = false;
};

}  // namespace platform
