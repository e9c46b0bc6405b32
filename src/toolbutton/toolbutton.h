// The corner button that switches pen and eraser and asks for the command menu.
#pragma once

#include "platform/platform.h"

extern HWND ToolButton;
