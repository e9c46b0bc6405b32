// Turning pages with the up and down keys: animated for the first pages of a hold, flipped after.
#pragma once

#include "platform/platform.h"

extern unsigned PagesMoved;
// Wheel notches, positive away from the user, still to be turned into pages.
extern int WheelNotchesOwed;

constexpr unsigned AnimatedPagesPerHold = 5;
constexpr DWORD AnimatedPageBudget = 500;
constexpr DWORD FlippedPageBudget = 200;
constexpr DWORD AnimatedLimitPause = 400;
constexpr DWORD FlipLimitPause = 500;
constexpr DWORD EndOfHoldPause = 100;

void ScrollViewBy(LONG rows);
int ScrollPageAnimated(int direction, DWORD budget);
int FlipPage(int direction, DWORD budget);
void PageKeyDown(int key);
// Whole notches in a wheel turn, a part of one counting as one.
int WheelNotches(short delta);
// A page per notch, away from the user towards the start, with the notches that come meanwhile.
void WheelTurn(short delta);
