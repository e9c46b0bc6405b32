// BUTTON: a push button with a text label. A tap that is let go on it, Space while it has the
// focus, or BM_CLICK sends its parent WM_COMMAND with its id and BN_CLICKED.
#pragma once

#include "platform/window.h"

namespace platform {

// The class's extra bytes: the label's font, then the button's state.
constexpr int kButtonFontOffset = 0;
constexpr int kButtonStateOffset = sizeof(LONG_PTR);
constexpr int kButtonExtraBytes = 2 * sizeof(LONG_PTR);

LRESULT button_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
