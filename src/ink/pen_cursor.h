// The mouse's pointer over the page: a cross-hair as large as the pen, so that a mouse user sees
// where ink will go. Pens and fingers see none; the chrome shows the arrow.
#pragma once

#include "platform/platform.h"

// The smallest cross-hair that is still easy to see.
constexpr int SmallestPenCursor = 9;

// Makes the cross-hair for the current pen size and gives it to the main window.
void UpdatePenCursor();
void ReleasePenCursor();
