// SHSipPreference: the input panel is the system's text input, with its on-screen keyboard where
// the system has one.
#include "backend/backend.h"
#include "platform/shell.h"
#include "platform/window.h"

using namespace platform;

BOOL SHSipPreference(HWND window, SIPSTATE state) {
    if (!IsWindow(window) || !has_backend()) return FALSE;
    switch (state) {
    case SIP_UP:
        backend().set_text_input(true);
        return TRUE;
    case SIP_DOWN:
    case SIP_FORCEDOWN:
        backend().set_text_input(false);
        return TRUE;
    default:
        return FALSE;
    }
}
