// What the controls and the tests need to know of an open dialog.
#pragma once

#include "platform/types.h"

namespace platform {

// The dialog's base units: a horizontal dialog unit is x / 4 pixels, a vertical one y / 8.
struct DialogUnits {
    int x = 4;
    int y = 8;
};

// The base units of a font: its average letter width and its line height.
DialogUnits dialog_units_of(HFONT font);
// False for a window that is not an open dialog.
bool dialog_units_of_window(HWND dialog, DialogUnits* units);

}  // namespace platform
