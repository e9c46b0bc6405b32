// How soon a pen move's ink is on the X screen, seen from outside the program: the probe presses the
// pointer's button with XTest, then for each move sends one motion and waits for the first damage
// rectangle of the root window whose pixels show the move's new ink. It prints the median, the 95th
// percentile and the longest of those delays.
// Usage: ink_probe MOVES LEFT TOP RIGHT BOTTOM — the moves are drawn in rows across that area.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Moves go this far right, rows this far down: wider than the thinnest pen, so that each move's
// last stamp lands on paper no earlier move touched.
constexpr int kStep = 3;
constexpr int kRowGap = 6;
// A move whose ink has not shown by then counts as missed.
constexpr auto kGiveUp = std::chrono::milliseconds(500);
// The pen's first dot and its lifting are drawn before the next row begins.
constexpr auto kSettle = std::chrono::milliseconds(50);

struct Probe {
    Display* display = nullptr;
    Window root = 0;
    int damage_event = 0;
};

unsigned long pixel_at(const Probe& p, int x, int y) {
    XImage* image = XGetImage(p.display, p.root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFFu;
    XDestroyImage(image);
    return value;
}

// Waits up to `limit` for the next event; false when none came.
bool next_event(Probe& p, XEvent* event, Clock::time_point limit) {
    while (!XPending(p.display)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - Clock::now()).count();
        if (left <= 0) return false;
        pollfd fd{ConnectionNumber(p.display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
    XNextEvent(p.display, event);
    return true;
}

// Reads every damage report until none has come for the settling time.
void settle(Probe& p) {
    XEvent event;
    while (next_event(p, &event, Clock::now() + kSettle)) {
    }
}

bool covers(const XDamageNotifyEvent& damage, int x, int y) {
    return x >= damage.area.x && x < damage.area.x + damage.area.width && y >= damage.area.y &&
           y < damage.area.y + damage.area.height;
}

// Moves the pen to (x, y) and gives the time until the pixel just left of it changed from `before`.
// Reports of earlier frames are read first: only a rectangle damaged after the move can show it.
std::optional<double> move_and_wait(Probe& p, int x, int y, unsigned long before) {
    XEvent event;
    while (XPending(p.display)) XNextEvent(p.display, &event);
    const auto sent = Clock::now();
    XTestFakeMotionEvent(p.display, -1, x, y, CurrentTime);
    XFlush(p.display);
    const auto limit = sent + kGiveUp;
    while (next_event(p, &event, limit)) {
        if (event.type != p.damage_event + XDamageNotify) continue;
        const auto seen = Clock::now();
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (covers(damage, x - 1, y) && pixel_at(p, x - 1, y) != before)
            return std::chrono::duration<double, std::milli>(seen - sent).count();
    }
    return std::nullopt;
}

double percentile(const std::vector<double>& sorted, double fraction) {
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s MOVES LEFT TOP RIGHT BOTTOM\n", argv[0]);
        return 2;
    }
    const int moves = std::atoi(argv[1]);
    const int left = std::atoi(argv[2]), top = std::atoi(argv[3]);
    const int right = std::atoi(argv[4]), bottom = std::atoi(argv[5]);
    if (moves <= 0 || right - left <= 2 * kStep || bottom <= top) {
        std::fprintf(stderr, "ink_probe: nothing to draw in that area\n");
        return 2;
    }
    Probe p;
    p.display = XOpenDisplay(nullptr);
    if (!p.display) {
        std::fprintf(stderr, "ink_probe: no X display\n");
        return 1;
    }
    int event_base, error_base, major, minor;
    if (!XTestQueryExtension(p.display, &event_base, &error_base, &major, &minor) ||
        !XDamageQueryExtension(p.display, &p.damage_event, &error_base)) {
        std::fprintf(stderr, "ink_probe: the X server has no XTest or no Damage\n");
        return 1;
    }
    p.root = DefaultRootWindow(p.display);
    const Damage damage = XDamageCreate(p.display, p.root, XDamageReportRawRectangles);

    std::vector<double> delays;
    int missed = 0;
    for (int y = top; y < bottom && delays.size() + static_cast<std::size_t>(missed) < static_cast<std::size_t>(moves);
         y += kRowGap) {
        XTestFakeMotionEvent(p.display, -1, left, y, CurrentTime);
        XTestFakeButtonEvent(p.display, 1, True, CurrentTime);
        XSync(p.display, False);
        settle(p);
        for (int x = left + kStep; x < right && delays.size() + static_cast<std::size_t>(missed) <
                                                     static_cast<std::size_t>(moves);
             x += kStep) {
            const unsigned long before = pixel_at(p, x - 1, y);
            if (const auto delay = move_and_wait(p, x, y, before))
                delays.push_back(*delay);
            else
                ++missed;
        }
        XTestFakeButtonEvent(p.display, 1, False, CurrentTime);
        XSync(p.display, False);
        settle(p);
    }
    XDamageDestroy(p.display, damage);
    XCloseDisplay(p.display);
    if (delays.empty()) {
        std::fprintf(stderr, "ink_probe: no move's ink was seen (%d missed)\n", missed);
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    const auto slow = std::count_if(delays.begin(), delays.end(), [](double d) { return d > 1.0; });
    std::printf("%zu moves, %d missed: median %.3f ms, 95th percentile %.3f ms, longest %.3f ms, %td over 1 ms\n",
                delays.size(), missed, percentile(delays, 0.5), percentile(delays, 0.95), delays.back(), slow);
    return missed == 0 ? 0 : 1;
}
