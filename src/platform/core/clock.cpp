#include "core/clock.h"

#include <ctime>

namespace platform {
namespace {

std::uint64_t monotonic_ms(clockid_t which = CLOCK_MONOTONIC) {
    timespec ts{};
    clock_gettime(which, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
}

bool virtual_mode = false;
std::uint64_t virtual_now = 0;
std::uint64_t start = monotonic_ms();
std::function<void()> reading_hook;

}  // namespace

std::uint64_t clock_now() {
    if (!virtual_mode) return monotonic_ms();
    if (reading_hook) reading_hook();
    return virtual_now;
}

std::uint64_t clock_peek() { return virtual_mode ? virtual_now : monotonic_ms(); }

bool clock_is_virtual() { return virtual_mode; }

std::uint64_t clock_since_start() { return clock_peek() - start; }

std::uint64_t clock_since_start_coarse() {
    if (virtual_mode) return virtual_now - start;
    // Just after the start the coarse clock may not have reached it yet.
    const std::uint64_t now = monotonic_ms(CLOCK_MONOTONIC_COARSE);
    return now > start ? now - start : 0;
}

void clock_use_virtual(std::uint64_t at) {
    virtual_mode = true;
    virtual_now = at;
    start = at;
}

void clock_advance(std::uint64_t milliseconds) { virtual_now += milliseconds; }

void clock_set_reading_hook(std::function<void()> hook) { reading_hook = std::move(hook); }

}  // namespace platform
