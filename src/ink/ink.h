// Pen and eraser strokes: stylus positions become stamps on the screen and in the notepad at once.
#pragma once

#include "platform/platform.h"

extern bool StrokeActive;
extern POINT LastPoint;
// A sample farther than this from the last point on either axis (in pixels at a scale factor of 1)
// is held back: a lone wild sample from a jittery digitiser is dropped, a fast real move is drawn.
constexpr LONG MaxStrokeJump = 30;
// The jump limit on this screen, and the far sample waiting for the next one to tell which it was.
extern LONG StrokeJumpLimit;
extern bool SampleHeld;
extern POINT HeldSample;
// The touch under way writes nothing (a palm, or touches kept off the page).
extern bool TouchRejected;
// The stroke under way comes from a pen's eraser end.
extern bool EraserEndStroke;

void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);
// The stroke in progress was the first finger of a tap of several: its ink goes.
void CancelStroke();
