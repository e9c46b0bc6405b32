// Where the stylus message in hand came from, and whether it may write: a hand resting on a touch
// screen while the pen writes must leave no ink.
#pragma once

#include "platform/platform.h"

enum PointerKind { POINTER_MOUSE, POINTER_TOUCH, POINTER_PEN, POINTER_ERASER };

// How long after the pen lifts a touch is still taken for the hand that held it.
constexpr DWORD PalmRejectionTime = 500;

// The kind of the pointer message last retrieved.
PointerKind CurrentPointerKind();
// A touch starting now may write: touches are allowed, no pen is down and the pen lifted long enough ago.
bool TouchMayWrite();
// A pen's stroke starts or ends (its eraser end included).
void PenTouched();
void PenLifted();
