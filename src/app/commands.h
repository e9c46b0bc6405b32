// The command menu, its commands, and the save when another program takes the foreground.
#pragma once

#include "platform/platform.h"

constexpr WORD IDM_QUIT = 40004;
constexpr WORD IDM_ABOUT = 40005;
constexpr WORD IDM_PEN = 40006;
constexpr WORD IDM_ERASER = 40007;
constexpr WORD IDM_CUT = 40008;
constexpr WORD IDM_COPY = 40009;
constexpr WORD IDM_PASTE = 40010;
constexpr WORD IDM_OPTIONS = 40011;
constexpr WORD IDM_UP = 40012;
constexpr WORD IDM_DOWN = 40013;
constexpr WORD IDM_CLEAR_PAD = 40014;
constexpr WORD IDM_CLEAR_PAGE = 40016;
constexpr WORD IDM_COMPRESS = 40017;
constexpr WORD IDM_FIND_BLANK = 40018;
constexpr WORD IDM_UNDO = 40019;
constexpr WORD IDM_REDO = 40020;

constexpr WORD IDD_ABOUT = 103;
constexpr WORD IDD_OPTIONS = 118;

constexpr LPCWSTR ClearPadQuestion = L"Clear every page of the pad?";
constexpr LPCWSTR CompressQuestion = L"Move the written pages to the front and the blank pages to the end?";
constexpr LPCWSTR CompressReport = L"Compress Complete!\nTotal Pages %d\nUsed Pages %d\nBlank Pages %d";
constexpr LPCWSTR NoBlankPage = L"No blank page available";

// The pause after the menu closes, and the page number's flash after a command moved the view.
constexpr DWORD AfterMenuPause = 200;
constexpr DWORD PageNumberFlash = 500;
constexpr DWORD BeforeCompressPause = 1000;

// The three branches of MainWindowProc this module carries; each returns 0.
LRESULT ActivateMainWindow(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OpenCommandMenu(HWND window);
// The menu with its top-left corner at a point on the screen (a right click), or centred for -1.
LRESULT OpenCommandMenuAt(HWND window, LPARAM point);
LRESULT RunCommand(HWND window, WORD id);
