// GetTickCount and Sleep. Both keep the display alive: the program may read the clock or sleep
// between the steps of an animation, and every step has to be seen.
#include <algorithm>
#include <climits>

#include "core/clock.h"
#include "platform/system.h"
#include "window/input.h"
#include "window/screen.h"

using namespace platform;

DWORD GetTickCount() {
    pump_device_events();
    present_holding_clock();
    return static_cast<DWORD>(clock_now());
}

void Sleep(DWORD milliseconds) {
    const std::uint64_t deadline = clock_peek() + milliseconds;
    for (;;) {
        pump_device_events();
        present_changes();
        const std::uint64_t now = clock_peek();
        if (now >= deadline) return;
        if (clock_is_virtual()) {
            // A sleeping program is not waiting for input, so nothing may take it for idle; time
            // passes a millisecond at a time so that whatever is timed for the meantime comes on time.
            clock_advance(1);
        } else {
            // Device events arriving meanwhile are only buffered; the wait goes on after each.
            // A frame held for the next refresh ends the wait early.
            const std::uint64_t left = deadline - now;
            const std::int64_t frame = ms_until_present();
            const std::uint64_t wait = frame >= 0 ? std::min<std::uint64_t>(left, static_cast<std::uint64_t>(frame)) : left;
            wait_device_event(wait > INT_MAX ? INT_MAX : static_cast<int>(wait));
        }
    }
}
