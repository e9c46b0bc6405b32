// The notepad store: the notepad image, its view on the screen, the page indicator and the small
// screen operations the rest of the program uses.
#pragma once

#include "platform/platform.h"

// The whole notepad: one 1-bit image, bottom-up, bit 1 paper and bit 0 ink, in its own memory DC.
struct NotepadImageRecord {
    HDC Context;
    HBITMAP Bitmap;
    BYTE* Bits;
};

enum DrawModeKind { DRAW_PEN, DRAW_ERASER };

extern NotepadImageRecord NotepadImage;
extern LONG NotepadWidth;
extern LONG NotepadHeight;
extern LONG NotepadStride;
extern HDC ScreenContext;
extern LONG ViewOffset;
extern LONG PageCount;
extern int DirtyFlag;
extern DrawModeKind DrawMode;
extern HDC PenStamp;
extern HDC EraserStamp;
extern HBITMAP PenStampBitmap;
extern HBITMAP EraserStampBitmap;
extern HFONT PageIndicatorFont;
extern HBITMAP PageClipboard;

// The page indicator's boxes, the rectangle its number is centred in and the height of its font,
// at scale 1. On the screen all of them are DisplayScale times as large.
constexpr RECT PageIndicatorOuter = {0, 0, 30, 17};
constexpr RECT PageIndicatorInner = {1, 1, 29, 16};
constexpr RECT PageIndicatorText = {0, 1, 30, 15};
constexpr LONG PageIndicatorFontHeight = 16;

// The display's whole scale factor for the chrome (the page indicator and the tool button's
// faces), read once at start-up. The notepad itself stays in device pixels.
extern int DisplayScale;
RECT ScaledRect(const RECT& rect);

constexpr int NewNotepadPages = 5;

HBITMAP CreateMonoImage(HDC context, int width, int height);
// Makes `bitmap`, already selected into NotepadImage's context, the notepad image. The undo history
// of another image must be cleared first.
void AdoptNotepadBitmap(HBITMAP bitmap);
// As CreateMonoImage with the densities a file gave, and not yet selected into the context.
HBITMAP CreateMonoBitmap(HDC context, int width, int height, LONG xPelsPerMeter, LONG yPelsPerMeter);
void RepaintFromImage(LONG left, LONG top, LONG right, LONG bottom);
void ShowPageIndicator();
void ErasePageIndicator();
void ClearNotepad();
