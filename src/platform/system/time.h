// The program's clock calls, GetTickCount and Sleep, over the platform's one clock. A program may
// read the clock or sleep between the steps of an animation without reading its messages, and
// every step has to be seen: so these calls keep the display current. The window module, above
// this one, says how; until it does they only read and pass the time.
#pragma once

#include <cstdint>

namespace platform {

struct DisplayUpkeep {
    // Reads the device events waiting now and presents what changed.
    void (*catch_up)();
    // Before the clock is read: a frame drawn but held for the next refresh holds the caller until
    // then, so that each frame of an animation is seen.
    void (*hold_frame)();
    // Waits at most `milliseconds` for a device event, and no longer than until a held frame falls due.
    void (*wait)(std::uint64_t milliseconds);
};

void set_display_upkeep(const DisplayUpkeep& upkeep);

}  // namespace platform
