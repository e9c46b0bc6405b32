// What tests and robots need of an open popup menu: its items and where they stand.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct PopupMenuItem {
    std::wstring text;
    UINT_PTR id;
    bool separator;
    RECT on_screen;
};

// False for any window that is not an open popup menu.
bool popup_menu_items(HWND window, std::vector<PopupMenuItem>* items);

}  // namespace platform
