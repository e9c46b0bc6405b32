// GetTickCount and Sleep. Both keep the display alive: the program may read the clock or sleep
// between the steps of an animation, and every step has to be seen.
#include <climits>

#include "core/clock.h"
#include "platform/system.h"
#include "window/input.h"
#include "window/screen.h"

using namespace platform;

DWORD GetTickCount() {
    pump_device_events();
    present_changes();
    return static_cast<DWORD>(clock_now());
}

void Sleep(DWORD milliseconds) {
    const std::uint64_t deadline = clock_peek() + milliseconds;
    for (;;) {
        pump_device_events();
        present_changes();
        const std::uint64_t now = clock_peek();
        if (now >= deadline) return;
        const std::uint64_t left = deadline - now;
        // Device events arriving meanwhile are only buffered; the wait goes on after each.
        wait_device_event(left > INT_MAX ? INT_MAX : static_cast<int>(left));
    }
}
