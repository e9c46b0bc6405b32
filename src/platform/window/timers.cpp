// Timers: each is due a whole period after it was set or last delivered. A late timer makes one
// WM_TIMER, never a burst.
#include "window/timers.h"

#include <algorithm>
#include <vector>

#include "core/clock.h"
#include "platform/window.h"
#include "window/window_table.h"

using namespace platform;

namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    std::uint64_t due;
    TIMERPROC proc;
};

std::vector<Timer> timers;
// Ids of timers without a window are chosen here, away from small ids a program picks itself.
UINT_PTR next_thread_timer_id = 0x7F00;

bool matches(const Timer& t, HWND filter) { return !filter || t.window == filter; }

Timer* next_timer(HWND filter) {
    Timer* next = nullptr;
    for (Timer& t : timers)
        if (matches(t, filter) && (!next || t.due < next->due)) next = &t;
    return next;
}

}  // namespace

namespace platform {

bool take_due_timer(MSG* message, HWND filter) {
    const std::uint64_t now = clock_peek();
    Timer* t = next_timer(filter);
    if (!t || t->due > now) return false;
    *message = {t->window, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc), static_cast<DWORD>(now), {0, 0}};
    t->due = now + t->period;
    return true;
}

std::int64_t ms_until_next_timer(HWND filter) {
    const Timer* t = next_timer(filter);
    if (!t) return -1;
    const std::uint64_t now = clock_peek();
    return t->due > now ? static_cast<std::int64_t>(t->due - now) : 0;
}

TIMERPROC timer_proc(HWND window, UINT_PTR id) {
    for (const Timer& t : timers)
        if (t.window == window && t.id == id) return t.proc;
    return nullptr;
}

void kill_window_timers(HWND window) {
    std::erase_if(timers, [window](const Timer& t) { return t.window == window; });
}

}  // namespace platform

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    if (window && (!find_window(window) || id == 0)) return 0;
    if (!window) id = next_thread_timer_id++;
    const std::uint64_t due = clock_peek() + elapseMs;
    const auto same = std::find_if(timers.begin(), timers.end(),
                                   [&](const Timer& t) { return t.window == window && t.id == id; });
    if (same != timers.end()) {
        *same = {window, id, elapseMs, due, proc};
    } else {
        timers.push_back({window, id, elapseMs, due, proc});
    }
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    if (window && !find_window(window)) return FALSE;
    const auto removed =
        std::erase_if(timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    return removed ? TRUE : FALSE;
}
