#include "ink/pointer_input.h"

#include "settings/settings.h"

namespace {

bool PenStrokeUnderWay = false;
bool PenEverLifted = false;
DWORD PenLiftTick = 0;

}  // namespace

PointerKind CurrentPointerKind() {
    const LPARAM info = GetMessageExtraInfo();
    if ((info & SIGNATURE_MASK) != MI_WP_SIGNATURE) return POINTER_MOUSE;
    if (info & MI_FROM_TOUCH) return POINTER_TOUCH;
    return (info & MI_PEN_ERASER) ? POINTER_ERASER : POINTER_PEN;
}

bool TouchMayWrite() {
    if (!TouchWrites || PenStrokeUnderWay) return false;
    return !PenEverLifted || GetTickCount() - PenLiftTick >= PalmRejectionTime;
}

void PenTouched() { PenStrokeUnderWay = true; }

void PenLifted() {
    PenStrokeUnderWay = false;
    PenEverLifted = true;
    PenLiftTick = GetTickCount();
}
