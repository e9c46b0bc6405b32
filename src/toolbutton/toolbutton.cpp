#include "toolbutton/toolbutton.h"

HWND ToolButton = nullptr;
