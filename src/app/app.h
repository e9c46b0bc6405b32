// The application: start-up and the main window.
#pragma once

#include "platform/platform.h"
#include "shared/globals.h"

void CreateMainWindow(HINSTANCE instance);
void GetScreenSize(int* width, int* height);
void RefreshDesktop();
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int ReleaseDrawingObjects(HWND window);
// Returns 1 when the notepad is in place; 0 only when not even a new notepad image could be made
// (the user has been told, and the program must end).
int InitNotepad(HWND mainWindow, HINSTANCE instance);
