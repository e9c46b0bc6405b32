// The application shell: the process-wide handles and the main window.
#pragma once

#include "platform/platform.h"

extern HINSTANCE AppInstance;
extern HWND MainWindow;
extern int PageWidth;
extern int PageHeight;

void CreateMainWindow(HINSTANCE instance);
void GetScreenSize(int* width, int* height);
void RefreshDesktop();
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int ReleaseDrawingObjects(HWND window);
