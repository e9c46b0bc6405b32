// The Options dialog: pen sizes, end dot, eraser, the two colours and the number of pages.
#pragma once

#include "platform/platform.h"

// Template 118's controls.
constexpr int IDC_PEN_WIDTH = 1030;
constexpr int IDC_PEN_WIDTH_SPIN = 1027;
constexpr int IDC_PEN_HEIGHT = 1035;
constexpr int IDC_PEN_HEIGHT_SPIN = 1036;
constexpr int IDC_PEN_COLOUR = 1052;
constexpr int IDC_PEN_END = 1033;
constexpr int IDC_PEN_END_SPIN = 1034;
constexpr int IDC_PAGE_COLOUR = 1053;
constexpr int IDC_ERASER_SIZE = 1031;
constexpr int IDC_ERASER_SIZE_SPIN = 1028;
constexpr int IDC_PAGES = 1032;
constexpr int IDC_PAGES_SPIN = 1029;

struct ColourEntry {
    LPCWSTR Label;
    COLORREF Colour;
};
constexpr int ColourCount = 8;
extern const ColourEntry ColourList[ColourCount];

INT_PTR OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
