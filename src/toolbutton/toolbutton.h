// The corner button: a tap switches between pen and eraser, a hold asks the main window for the
// command menu.
#pragma once

#include "platform/platform.h"

// The four faces, as the program's bitmap resources.
constexpr WORD IDB_PEN = 141;
constexpr WORD IDB_ERASER = 143;
constexpr WORD IDB_PEN_PRESSED = 146;
constexpr WORD IDB_ERASER_PRESSED = 147;

extern HWND ToolButton;
// The stylus went down on the button and the press still counts (it has not become a hold).
extern bool ButtonPressed;
// What SetTimer gave for the running hold timer; 0 while none runs.
extern UINT_PTR HoldTimer;

int CreateToolButton(HWND parent, HINSTANCE instance);
LRESULT ToolButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Hiding it gives the notepad back the corner it covered.
void ShowToolButton();
void HideToolButton();
