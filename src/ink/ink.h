// Pen and eraser strokes: stylus positions become stamps on the screen and in the notepad at once.
#pragma once

#include "platform/platform.h"

extern bool StrokeActive;
extern POINT LastPoint;
// A move farther than this from the last point on either axis is dropped, not joined.
constexpr LONG MaxStrokeJump = 30;

void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);
