// The message box's window: a caption bar, an optional error mark, the text, and BUTTON children
// with the ids of the answers (IDOK, IDCANCEL), run in the shared modal loop by MessageBoxW.
#pragma once

#include "platform/window.h"

namespace platform {

inline constexpr const wchar_t* kMessageBoxClass = L"MessageBoxWindow";

LRESULT message_box_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
