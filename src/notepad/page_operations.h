// Operations on whole pages of the notepad: the blank test and the searches built on it,
// compressing, clearing, copying, pasting and resizing. None of them draws on the screen.
#pragma once

#include "platform/platform.h"

// The pause before each search and each move of a compress, so the wait cursor is seen to work.
constexpr DWORD CompressPause = 50;

bool IsPageBlank(LONG y);
bool FindBlankPage(LONG* y);
bool FindWrittenPage(LONG* y);
int CompressNotepad();
int ClearPage();
int CopyPage();
int PastePage();
int ResizeNotepad(int width, int height);
