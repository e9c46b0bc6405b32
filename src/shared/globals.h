// What every part of the program shares: the process's instance, the main window and the size of
// a page (the screen's). Set once at start-up, before any other part runs.
#pragma once

#include "platform/platform.h"

extern HINSTANCE AppInstance;
extern HWND MainWindow;
extern int PageWidth;
extern int PageHeight;
