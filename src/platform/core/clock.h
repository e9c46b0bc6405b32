// The one clock behind GetTickCount, Sleep, timers and sound lengths. The real clock is monotonic
// milliseconds; the virtual clock moves only when told to, so tests never wait on the wall clock.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds on the platform's clock. The low 32 bits are GetTickCount.
std::uint64_t clock_now();

// The same time without the cost of a reading: the platform's own bookkeeping (when to present,
// when a timer or a sleep is due) must not move the virtual clock.
std::uint64_t clock_peek();

bool clock_is_virtual();

// Milliseconds since the clock started: the process's start on the real clock, the switch to the
// virtual clock on that one. Display refreshes are counted from it, and the trace shows it.
std::uint64_t clock_since_start();

// The same, read cheaply: on the real clock it may be behind by up to the system's tick (a few
// milliseconds), and it costs a fifth of a full reading. For checks made at every drawing call.
std::uint64_t clock_since_start_coarse();

// Switches to the virtual clock, starting at `start` (tests use values near 2^32 to see the
// tick count wrap).
void clock_use_virtual(std::uint64_t start);

// Virtual clock only: moves time forward.
void clock_advance(std::uint64_t milliseconds);

// Virtual clock only: called at every reading of the clock, before it is read. A test uses it to
// watch the program between its readings, or to make time pass the way it does on a slow machine
// that falls behind while it draws (the hook calls clock_advance).
void clock_set_reading_hook(std::function<void()> hook);

}  // namespace platform
