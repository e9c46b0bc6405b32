// A control's state on the heap, its pointer in the window's extra bytes: made on WM_CREATE, freed
// on WM_DESTROY. Before and after, the window has none and its procedure leaves messages to the
// default one.
#pragma once

#include <memory>

#include "platform/window.h"

namespace platform {

constexpr int kControlStateBytes = sizeof(LONG_PTR);

template <typename State>
State* control_state(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, 0));
}

template <typename State>
State& create_control_state(HWND window) {
    auto state = std::make_unique<State>();
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state.get()));
    return *state.release();
}

template <typename State>
void free_control_state(HWND window) {
    delete control_state<State>(window);
    SetWindowLongPtrW(window, 0, 0);
}

}  // namespace platform
