#include "ink/ink.h"

#include <cstdlib>

#include "app/app.h"
#include "notepad/notepad.h"
#include "settings/settings.h"

bool StrokeActive = false;
POINT LastPoint = {0, 0};

namespace {

// The stamp bitmaps are 20 pixels square.
constexpr LONG StampBitmapSize = 20;

// `skip` rows of the stamp are left off at its top.
void StampCopy(HDC target, LONG left, LONG top, LONG width, LONG height, HDC stamp, LONG skip) {
    // A larger stamp is one stamp pixel stretched over the whole rectangle: solid ink or paper,
    // as the small stamps are.
    if (width > StampBitmapSize || height + skip > StampBitmapSize)
        StretchBlt(target, left, top, width, height, stamp, 0, 0, 1, 1, SRCCOPY);
    else
        BitBlt(target, left, top, width, height, stamp, 0, skip, SRCCOPY);
}

// The notepad takes a stamp only within the page on the screen: an eraser far larger than the
// page must not wipe pages the user cannot see.
void StampImage(LONG left, LONG top, LONG width, LONG height, HDC stamp) {
    const LONG imageTop = top + ViewOffset;
    const LONG firstRow = imageTop > ViewOffset ? imageTop : ViewOffset;
    const LONG endRow = imageTop + height < ViewOffset + PageHeight ? imageTop + height : ViewOffset + PageHeight;
    if (endRow <= firstRow) return;
    StampCopy(NotepadImage.Context, left, firstRow, width, endRow - firstRow, stamp, firstRow - imageTop);
}

void StampPoint(HDC stamp, LONG width, LONG height, LONG x, LONG y) {
    const LONG left = x - (width >> 1);
    const LONG top = y - (height >> 1);
    StampCopy(ScreenContext, left, top, width, height, stamp, 0);
    StampImage(left, top, width, height, stamp);
}

// The dot at either end of a stroke, or the eraser.
void StampEnd(LONG x, LONG y) {
    if (DrawMode == DRAW_PEN)
        StampPoint(PenStamp, Settings.PenEnd, Settings.PenEnd, x, y);
    else
        StampPoint(EraserStamp, Settings.EraserWidth, Settings.EraserHeight, x, y);
}

void StampMove(LONG x, LONG y) {
    if (DrawMode == DRAW_PEN)
        StampPoint(PenStamp, Settings.PenWidth, Settings.PenHeight, x, y);
    else
        StampPoint(EraserStamp, Settings.EraserWidth, Settings.EraserHeight, x, y);
}

}  // namespace

void StylusDown(int x, int y) {
    LastPoint = {x, y};
    StampEnd(x, y);
    StrokeActive = true;
    DirtyFlag = 1;
}

void StylusUp(int x, int y) {
    LastPoint = {x, y};
    StampEnd(x, y);
    StrokeActive = false;
    DirtyFlag = 1;
}

void StylusMove(int x, int y) {
    if (!StrokeActive) {
        SendMessageW(MainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
        StrokeActive = true;
    }
    const LONG dx = x - LastPoint.x;
    const LONG dy = y - LastPoint.y;
    if (std::abs(dx) > MaxStrokeJump || std::abs(dy) > MaxStrokeJump) return;
    const LONG steps = std::abs(dx) > std::abs(dy) ? std::abs(dx) : std::abs(dy);
    for (LONG i = 0; i < steps; ++i) StampMove(LastPoint.x + i * dx / steps, LastPoint.y + i * dy / steps);
    LastPoint = {x, y};
    DirtyFlag = 1;
}
