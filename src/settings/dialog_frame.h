// The frame the program's dialogs share: full screen, OK in the navigation bar, an empty menu bar,
// the title, and the colour scheme its two brushes paint.
#pragma once

#include "platform/platform.h"

// Each dialog procedure owns one pair, made when its dialog opens and deleted when it closes.
struct DialogBrushes {
    HBRUSH ButtonBrush;
    HBRUSH DialogBrush;
};

constexpr COLORREF ButtonColour = 0x00800000;  // navy
constexpr COLORREF DialogColour = 0x0000FFFF;  // yellow

void InitDialogFrame(HWND dialog, DialogBrushes* brushes, LPCWSTR titleSuffix, int raiseInputPanel);
void CloseDialogFrame(HWND dialog, DialogBrushes* brushes);
// The brush that answers a control-colour message, after setting the colours of `context`; zero
// for any other message.
INT_PTR DialogFrameColours(const DialogBrushes* brushes, UINT message, HDC context);
void CreateDialogMenuBar(HWND dialog, HINSTANCE instance);

INT_PTR AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
