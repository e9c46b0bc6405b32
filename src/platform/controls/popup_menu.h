// The popup menu's window, run in the shared modal loop by TrackPopupMenuEx.
#pragma once

#include "platform/window.h"

namespace platform {

inline constexpr const wchar_t* kPopupMenuClass = L"PopupMenuWindow";

LRESULT popup_menu_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform
