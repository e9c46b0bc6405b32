// Controls, dialogs and message boxes.
#pragma once

#include "platform/types.h"

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
