// Hooks for tests only: what a test needs to see or to provoke that no program call gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

// Drawing objects alive now (device contexts, bitmaps, brushes, fonts), stock objects excluded.
std::size_t gdi_live_objects();

// Lowers the cap on one bitmap's pixel memory, the way a device short of memory refuses large
// blocks.
void set_pixel_memory_limit(std::int64_t bytes);

// The next `count` flushes of file data to disk fail as a failing disk would (EIO), on any thread.
void fail_next_file_flushes(int count);

// False for any window that is not an open message box.
bool message_box_info(HWND box, std::wstring* text, std::wstring* caption);

// The navigation bar while it shows a dialog's OK: the bar and the OK's screen rectangle.
bool navigation_bar_ok(HWND* bar, RECT* ok_on_screen);
// The title SHSetNavBarText last gave.
const std::wstring& navigation_bar_title();
// False makes SHCreateMenuBar fail, as on a system short of resources.
void set_menu_bars_available(bool available);
// An open popup menu's items and where they stand on the screen; false for any other window.
struct PopupMenuItem {
    std::wstring text;
    UINT_PTR id;
    bool separator;
    RECT on_screen;
};
bool popup_menu_items(HWND menu, std::vector<PopupMenuItem>* items);

}  // namespace platform
