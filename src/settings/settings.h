// The persisted drawing options and scroll position.
#pragma once

#include "platform/platform.h"

struct SettingsRecord {
    LONG PenWidth;
    LONG PenHeight;
    LONG PenEnd;
    // The eraser is square: both sides always come from the one stored "EraserSize".
    LONG EraserWidth;
    LONG EraserHeight;
    COLORREF PenColour;
    COLORREF BakColour;
};

extern SettingsRecord Settings;
// The setting "TouchWrites": 0 keeps fingers off the page (they still work the button, the menu
// and the dialogs).
extern LONG TouchWrites;

constexpr int REGISTRY_STORE = 0;
constexpr int REGISTRY_READ = 1;

int RegistryValue(int mode, LPCWSTR name, DWORD* type, LPVOID data, DWORD* size);
// Fills Settings and the autosave rest period, gives ScreenContext the two colours, and returns the stored "PositionY" (0 when
// there is none).
LONG LoadSettings();
void SavePositionY();
