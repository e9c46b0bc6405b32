#include "ink/ink.h"

#include <cstdlib>

#include "ink/pointer_input.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/undo.h"
#include "settings/settings.h"
#include "shared/globals.h"

bool StrokeActive = false;
POINT LastPoint = {0, 0};
LONG StrokeJumpLimit = MaxStrokeJump;
bool SampleHeld = false;
POINT HeldSample = {0, 0};
bool TouchRejected = false;
bool EraserEndStroke = false;

namespace {

// The stamp bitmaps are 20 pixels square.
constexpr LONG StampBitmapSize = 20;
// The screen density of a scale factor of 1.
constexpr int BaseDotsPerInch = 96;

// A stamp bitmap and the size it is stamped at.
struct Stamp {
    HDC context;
    LONG width;
    LONG height;
};

// The dot at either end of a stroke, or the eraser.
Stamp EndStamp() {
    if (DrawMode == DRAW_PEN && !EraserEndStroke) return {PenStamp, Settings.PenEnd, Settings.PenEnd};
    return {EraserStamp, Settings.EraserWidth, Settings.EraserHeight};
}

Stamp MoveStamp() {
    if (DrawMode == DRAW_PEN && !EraserEndStroke) return {PenStamp, Settings.PenWidth, Settings.PenHeight};
    return {EraserStamp, Settings.EraserWidth, Settings.EraserHeight};
}

// The notepad takes a stamp only within the page on the screen: an eraser far larger than the
// page must not wipe pages the user cannot see. Inlined into a segment's loop, whose thirty stamps
// then keep their values in registers instead of saving them thirty times.
[[gnu::always_inline]] inline void StampPoint(Stamp stamp, LONG x, LONG y) {
    const LONG left = x - (stamp.width >> 1);
    const LONG top = y - (stamp.height >> 1);
    const LONG imageTop = top + ViewOffset;
    const LONG firstRow = imageTop > ViewOffset ? imageTop : ViewOffset;
    const LONG endRow =
        imageTop + stamp.height < ViewOffset + PageHeight ? imageTop + stamp.height : ViewOffset + PageHeight;
    const bool onPage = endRow > firstRow;
    if (onPage) {
        NoteStampArea(left, firstRow, left + stamp.width, endRow);
        if (SnapshotUnderWay) KeepSnapshotRows(firstRow, endRow);
    }
    // The size is tested once for both copies: the image's rows are some of the screen's.
    if (stamp.width <= StampBitmapSize && stamp.height <= StampBitmapSize) [[likely]] {
        BitBlt(ScreenContext, left, top, stamp.width, stamp.height, stamp.context, 0, 0, SRCCOPY);
        if (onPage)
            BitBlt(NotepadImage.Context, left, firstRow, stamp.width, endRow - firstRow, stamp.context, 0,
                   firstRow - imageTop, SRCCOPY);
    } else {
        // A larger stamp is one stamp pixel stretched over the whole rectangle: solid ink or paper,
        // as the small stamps are.
        StretchBlt(ScreenContext, left, top, stamp.width, stamp.height, stamp.context, 0, 0, 1, 1, SRCCOPY);
        if (onPage)
            StretchBlt(NotepadImage.Context, left, firstRow, stamp.width, endRow - firstRow, stamp.context, 0, 0, 1, 1,
                       SRCCOPY);
    }
}

// One stamp per pixel of the longer axis from `from`, leaving `to` itself to whatever comes next:
// stamp i lies i * d / steps, rounded toward zero, along each axis. The quotients are counted up
// stamp by stamp rather than divided out, as two divisions took a fifth of a stamp's time.
void StampSegment(POINT from, POINT to) {
    const Stamp stamp = MoveStamp();
    const LONG dx = to.x - from.x;
    const LONG dy = to.y - from.y;
    const LONG ax = std::abs(dx), ay = std::abs(dy);
    const LONG steps = ax > ay ? ax : ay;
    // i * |d| = q * steps + r, with 0 <= r < steps.
    LONG qx = 0, rx = 0, qy = 0, ry = 0;
    for (LONG i = 0; i < steps; ++i) {
        StampPoint(stamp, from.x + (dx < 0 ? -qx : qx), from.y + (dy < 0 ? -qy : qy));
        rx += ax;
        if (rx >= steps) {
            rx -= steps;
            ++qx;
        }
        ry += ay;
        if (ry >= steps) {
            ry -= steps;
            ++qy;
        }
    }
}

bool WithinJumpLimit(POINT from, LONG x, LONG y) {
    return std::abs(x - from.x) <= StrokeJumpLimit && std::abs(y - from.y) <= StrokeJumpLimit;
}

// A far sample with no sample after it was a real move: the stroke reaches it.
void DrawHeldSample() {
    if (!SampleHeld) return;
    StampSegment(LastPoint, HeldSample);
    StampPoint(MoveStamp(), HeldSample.x, HeldSample.y);
    SampleHeld = false;
}

// The limit follows the chrome's scale factor, so that a dense screen's faster strokes in pixels
// are not taken for wild samples.
LONG ScaledJumpLimit() {
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int factor = dotsPerInch >= BaseDotsPerInch ? dotsPerInch / BaseDotsPerInch : 1;
    return MaxStrokeJump * factor;
}

void InkChanged() {
    DirtyFlag = 1;
    NoteInk();
}

}  // namespace

void StylusDown(int x, int y) {
    const PointerKind kind = CurrentPointerKind();
    if (kind == POINTER_TOUCH) {
        TouchRejected = !TouchMayWrite();
        if (TouchRejected) return;
    }
    DrawHeldSample();
    // The pen turned round erases whatever the button says, and leaves the button as it is.
    EraserEndStroke = kind == POINTER_ERASER;
    if (kind == POINTER_PEN || kind == POINTER_ERASER) PenTouched();
    StrokeJumpLimit = ScaledJumpLimit();
    BeginStrokeStep();
    LastPoint = {x, y};
    StampPoint(EndStamp(), x, y);
    StrokeActive = true;
    InkChanged();
}

void StylusUp(int x, int y) {
    const PointerKind kind = CurrentPointerKind();
    if (kind == POINTER_TOUCH && TouchRejected) {
        TouchRejected = false;
        return;
    }
    DrawHeldSample();
    LastPoint = {x, y};
    StampPoint(EndStamp(), x, y);
    EndStrokeStep();
    StrokeActive = false;
    InkChanged();
    if (kind == POINTER_PEN || kind == POINTER_ERASER) PenLifted();
}

void CancelStroke() {
    if (!StrokeActive) return;
    StrokeActive = false;
    SampleHeld = false;
    RECT changed{};
    CompleteSnapshot();
    if (!CancelStrokeStep(&changed)) return;
    const RECT onScreen = {changed.left, changed.top - ViewOffset, changed.right, changed.bottom - ViewOffset};
    InvalidateRect(MainWindow, &onScreen, FALSE);
}

void StylusMove(int x, int y) {
    // A rejected touch leaves a pen's stroke under way to go on undisturbed.
    const bool touch = CurrentPointerKind() == POINTER_TOUCH;
    if (touch && TouchRejected) return;
    if (!StrokeActive) {
        SendMessageW(MainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
        if (touch && TouchRejected) return;
        StrokeActive = true;
    }
    if (SampleHeld) {
        // Back near the last point: the held sample was a lone wild one and is dropped.
        // Otherwise the pen really went there, and the stroke runs through it.
        if (!WithinJumpLimit(LastPoint, x, y)) {
            StampSegment(LastPoint, HeldSample);
            LastPoint = HeldSample;
        }
        SampleHeld = false;
    } else if (!WithinJumpLimit(LastPoint, x, y)) {
        HeldSample = {x, y};
        SampleHeld = true;
        return;
    }
    StampSegment(LastPoint, {x, y});
    LastPoint = {x, y};
    InkChanged();
}
