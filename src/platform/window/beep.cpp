#include "backend/backend.h"
#include "platform/window.h"

// Every kind of beep sounds the same short tone; without a display there is nothing to sound.
BOOL MessageBeep(UINT) {
    if (platform::has_backend()) platform::backend().beep();
    return TRUE;
}
