// The strips the shell keeps at the top and bottom of the screen.
#pragma once

#include "platform/window.h"

namespace platform {

// The strips' windows; their classes stand in the platform's class table.
inline constexpr const wchar_t* kNavigationBarClass = L"NavigationBar";
inline constexpr const wchar_t* kMenuBarClass = L"MenuBar";
LRESULT navigation_bar_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT menu_bar_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The height of the navigation bar at the top and of a menu bar at the bottom.
int strip_height();

}  // namespace platform
