// How soon a pen move's ink is on the X screen, seen from outside the program: the probe presses the
// pointer's button with XTest, then for each move sends one motion and waits for the first damage
// rectangle of the root window whose pixels show the move's new ink. It prints the median, the 95th
// percentile and the longest of those delays.
// Usage: ink_probe MOVES LEFT TOP RIGHT BOTTOM [--history STROKES] [--autosave NOTEPAD REST_MS] — the
// moves are drawn in rows across that area.
// --history: that many one-dot strokes are written first, below the rows the moves take, so that the
// moves are timed with a long undo history.
// --autosave: the pen rests REST_MS (the program's autosave rest) between bursts of moves, held
// down, and only the moves of bursts during which an autosave wrote the file NOTEPAD are timed:
// from the end of the rest, which starts the autosave, until the new file takes the notepad's name.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
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
// History dots lie this far apart, clear of one another at the pen end's size.
constexpr int kDotGap = 4;
// The history's last dot must have shown by then.
constexpr auto kHistoryLimit = std::chrono::seconds(30);
// An autosave that has not made its file this long after the rest was not started by it; one that
// has not finished this long after the rest is given up on.
constexpr auto kSaveStartLimit = std::chrono::milliseconds(500);
constexpr auto kSaveLimit = std::chrono::seconds(20);
// Bursts of moves tried for autosaves before the probe gives up.
constexpr int kMaxBursts = 60;

struct Probe {
    Display* display = nullptr;
    Window root = 0;
    int damage_event = 0;
    // When the pen last made ink the program drew: its autosave counts its rest from then.
    Clock::time_point last_ink;
    // The ink's colour, read from the dot of the pen's last press.
    unsigned long ink = 0;
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
        if (covers(damage, x - 1, y) && pixel_at(p, x - 1, y) != before) {
            p.last_ink = seen;
            return std::chrono::duration<double, std::milli>(seen - sent).count();
        }
    }
    return std::nullopt;
}

double percentile(const std::vector<double>& sorted, double fraction) {
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

struct Area {
    int left, top, right, bottom;
};

// The pen walking along rows of the area, pressed at each row's start and lifted at its end.
struct Walk {
    Area area;
    int x = 0, y = 0;
};

void press_at(Probe& p, int x, int y) {
    XTestFakeMotionEvent(p.display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(p.display, 1, True, CurrentTime);
    XSync(p.display, False);
    p.last_ink = Clock::now();
    settle(p);
    p.ink = pixel_at(p, x, y);
}

void lift(Probe& p) {
    XTestFakeButtonEvent(p.display, 1, False, CurrentTime);
    XSync(p.display, False);
    p.last_ink = Clock::now();
    settle(p);
}

void start_walk(Probe& p, Walk& walk) {
    walk.x = walk.area.left + kStep;
    walk.y = walk.area.top;
    press_at(p, walk.area.left, walk.y);
}

// To the next move's place; false, with the pen lifted, past the area's last row.
bool step(Probe& p, Walk& walk) {
    walk.x += kStep;
    if (walk.x < walk.area.right) return true;
    lift(p);
    walk.y += kRowGap;
    if (walk.y >= walk.area.bottom) return false;
    press_at(p, walk.area.left, walk.y);
    walk.x = walk.area.left + kStep;
    return true;
}

// One move at the walk's place, timed into `delays` or counted as missed; one onto ink is not timed.
void timed_move(Probe& p, const Walk& walk, std::vector<double>* delays, int* missed) {
    const unsigned long before = pixel_at(p, walk.x - 1, walk.y);
    // Ink onto ink already there (a notepad's own writing) changes nothing to wait for; the move is
    // still made, or the next would be a jump the program holds back.
    if (before == p.ink) {
        XTestFakeMotionEvent(p.display, -1, walk.x, walk.y, CurrentTime);
        XSync(p.display, False);
        return;
    }
    if (const auto delay = move_and_wait(p, walk.x, walk.y, before)) {
        delays->push_back(*delay);
        return;
    }
    ++*missed;
    std::fprintf(stderr, "ink_probe: no ink within %lld ms of the move to %d,%d\n",
                 static_cast<long long>(kGiveUp.count()), walk.x, walk.y);
}

// Waits until the pixel at (x, y) is no longer `before`; false when it has not changed by `limit`.
bool wait_for_change(Probe& p, int x, int y, unsigned long before, Clock::time_point limit) {
    XEvent event;
    while (pixel_at(p, x, y) == before)
        if (!next_event(p, &event, limit)) return false;
    return true;
}

// `strokes` dots, each a stroke of its own, in rows across the area; false when they do not fit or
// the last never showed.
bool write_history(Probe& p, const Area& area, int strokes) {
    const int across = (area.right - area.left + kDotGap - 1) / kDotGap;
    const int rows = (area.bottom - area.top + kDotGap - 1) / kDotGap;
    if (static_cast<long long>(across) * rows < strokes) return false;
    const int last_x = area.left + (strokes - 1) % across * kDotGap;
    const int last_y = area.top + (strokes - 1) / across * kDotGap;
    const unsigned long before = pixel_at(p, last_x, last_y);
    for (int i = 0; i < strokes; ++i) {
        XTestFakeMotionEvent(p.display, -1, area.left + i % across * kDotGap, area.top + i / across * kDotGap,
                             CurrentTime);
        XTestFakeButtonEvent(p.display, 1, True, CurrentTime);
        XTestFakeButtonEvent(p.display, 1, False, CurrentTime);
        if (i % 64 == 63) XSync(p.display, False);
    }
    XSync(p.display, False);
    // Thousands of presses reach the program long after the server took them, and it presents
    // nothing while it reads such a backlog: a quiet spell does not mean the history is written,
    // its last dot showing does. A move timed before that would wait behind the dots.
    if (!wait_for_change(p, last_x, last_y, before, Clock::now() + kHistoryLimit)) return false;
    settle(p);
    return true;
}

// Tells when the notepad's folder, which holds nothing else the program makes, gets the autosave's
// new file, and when that file takes the notepad's name.
class SaveWatch {
public:
    bool open(const std::string& notepad) {
        const auto slash = notepad.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : notepad.substr(0, slash);
        name_ = slash == std::string::npos ? notepad : notepad.substr(slash + 1);
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        return fd_ >= 0 && inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO) >= 0;
    }

    // What happened since the last look: a new file beside the notepad, and the notepad renamed
    // onto.
    void look(bool* started, bool* finished) {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                // The save's new file has a name of its own beside the notepad's.
                if (event->mask & IN_CREATE) *started = true;
                if (event->len && (event->mask & IN_MOVED_TO) && name_ == event->name) *finished = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
    }

private:
    int fd_ = -1;
    std::string name_;
};

// Bursts of moves after rests of about `rest` with the pen held down, each burst until the autosave
// the rest started has finished; the moves of bursts that saw an autosave go into `delays`. False
// when the area ran out.
bool time_during_autosaves(Probe& p, Walk& walk, SaveWatch& watch, std::chrono::milliseconds rest, int moves,
                           std::vector<double>* delays, int* missed, int* saves) {
    // The program starts an autosave on its timer once the pen has rested `rest` since its last ink,
    // and a small notepad's save is over within milliseconds. A burst that starts before the timer
    // puts the autosave off, one that starts after the save has finished times nothing: the rest
    // closes in on the moment between.
    constexpr auto kCloser = std::chrono::milliseconds(2);
    auto wait = rest + kCloser;
    for (int burst = 0; burst < kMaxBursts && delays->size() + static_cast<std::size_t>(*missed) <
                                                  static_cast<std::size_t>(moves);
         ++burst) {
        bool started = false, finished = false;
        watch.look(&started, &finished);
        std::this_thread::sleep_until(p.last_ink + wait);
        started = finished = false;
        watch.look(&started, &finished);
        if (finished) {
            wait -= kCloser;
            if (!step(p, walk)) return false;
            continue;
        }
        const auto rested = Clock::now();
        std::vector<double> burst_delays;
        int burst_missed = 0;
        while (!finished) {
            timed_move(p, walk, &burst_delays, &burst_missed);
            watch.look(&started, &finished);
            const auto since = Clock::now() - rested;
            if ((!started && since > kSaveStartLimit) || since > kSaveLimit) break;
            if (!step(p, walk)) return false;
        }
        if (finished) {
            ++*saves;
            delays->insert(delays->end(), burst_delays.begin(), burst_delays.end());
            *missed += burst_missed;
        } else {
            wait += kCloser;
        }
        if (!step(p, walk)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s MOVES LEFT TOP RIGHT BOTTOM [--history STROKES] [--autosave NOTEPAD REST_MS]\n",
                     argv[0]);
        return 2;
    }
    const int moves = std::atoi(argv[1]);
    Area area{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])};
    int history = 0;
    std::string notepad;
    int rest_ms = 0;
    for (int i = 6; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--history" && i + 1 < argc) {
            history = std::atoi(argv[++i]);
        } else if (option == "--autosave" && i + 2 < argc) {
            notepad = argv[++i];
            rest_ms = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "ink_probe: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (moves <= 0 || area.right - area.left <= 2 * kStep || area.bottom <= area.top) {
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

    if (history > 0) {
        // The moves take the rows they need from the top; the history dots go below them.
        const int per_row = (area.right - area.left - 1) / kStep;
        const int moves_bottom = area.top + (moves + per_row - 1) / per_row * kRowGap;
        if (!write_history(p, {area.left, moves_bottom + kRowGap, area.right, area.bottom}, history)) {
            std::fprintf(stderr, "ink_probe: %d strokes do not fit below the moves, or the last never showed\n",
                         history);
            return 2;
        }
        area.bottom = moves_bottom;
    }
    SaveWatch watch;
    if (!notepad.empty() && !watch.open(notepad)) {
        std::fprintf(stderr, "ink_probe: cannot watch %s\n", notepad.c_str());
        return 1;
    }

    std::vector<double> delays;
    int missed = 0, saves = 0;
    Walk walk{area};
    start_walk(p, walk);
    bool walking = true;
    if (!notepad.empty()) {
        walking = time_during_autosaves(p, walk, watch, std::chrono::milliseconds(rest_ms), moves, &delays, &missed,
                                        &saves);
    } else {
        while (walking && delays.size() + static_cast<std::size_t>(missed) < static_cast<std::size_t>(moves)) {
            timed_move(p, walk, &delays, &missed);
            walking = step(p, walk);
        }
    }
    if (walking) lift(p);
    XDamageDestroy(p.display, damage);
    XCloseDisplay(p.display);
    if (delays.empty()) {
        std::fprintf(stderr, "ink_probe: no move's ink was seen (%d missed, %d autosaves)\n", missed, saves);
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    const auto slow = std::count_if(delays.begin(), delays.end(), [](double d) { return d > 1.0; });
    if (!notepad.empty()) std::printf("during %d autosaves, ", saves);
    if (history > 0) std::printf("after %d strokes, ", history);
    std::printf("%zu moves, %d missed: median %.3f ms, 95th percentile %.3f ms, longest %.3f ms, %td over 1 ms\n",
                delays.size(), missed, percentile(delays, 0.5), percentile(delays, 0.95), delays.back(), slow);
    return missed == 0 ? 0 : 1;
}
