#include "system/time.h"

#include <chrono>
#include <thread>

#include "core/clock.h"
#include "platform/system.h"

using namespace platform;

namespace {

void nothing_to_keep() {}

void wait_idle(std::uint64_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Constant-initialised, so it holds before the window module's initialiser replaces it.
constinit DisplayUpkeep upkeep{nothing_to_keep, nothing_to_keep, wait_idle};

}  // namespace

namespace platform {

void set_display_upkeep(const DisplayUpkeep& given) { upkeep = given; }

}  // namespace platform

DWORD GetTickCount() {
    upkeep.catch_up();
    upkeep.hold_frame();
    return static_cast<DWORD>(clock_now());
}

void Sleep(DWORD milliseconds) {
    const std::uint64_t deadline = clock_peek() + milliseconds;
    for (;;) {
        upkeep.catch_up();
        const std::uint64_t now = clock_peek();
        if (now >= deadline) return;
        if (clock_is_virtual()) {
            // A sleeping program is not waiting for input, so nothing may take it for idle; time
            // passes a millisecond at a time so that whatever is timed for the meantime comes on time.
            clock_advance(1);
        } else {
            // Device events arriving meanwhile are only buffered; the wait goes on after each.
            upkeep.wait(deadline - now);
        }
    }
}
