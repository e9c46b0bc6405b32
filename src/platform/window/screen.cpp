// Composing the screen from the surfaces of the visible top-level windows.
#include "window/screen.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "backend/backend.h"
#include "core/clock.h"
#include "core/utf8.h"
#include "gdi/draw_target.h"
#include "system/time.h"
#include "window/display_icon.h"
#include "window/device_buffer.h"
#include "window/paint.h"

namespace platform {
namespace {

// Screen coordinates: what has to be composed again, and what was composed but not yet presented.
DirtyRegion exposed;
DirtyRegion unpresented;
bool presented_yet = false;
std::uint64_t last_present = 0;  // milliseconds since the clock started
// When drawing next finds a frame due: a refresh after the last present, at the display's rate (60 Hz
// for a display that takes every frame at once), and the cheap clock's reading at the last present.
std::uint64_t next_refresh = 0;
std::uint64_t last_present_coarse = 0;
// Pointer input was taken since the last present: what it drew is presented as soon as the input
// that came with it has been handled, not held for the refresh, so that ink follows the pen.
bool pen_frame = false;

// A refresh in whole milliseconds, rounded up. The display's own refreshes start at moments no one
// tells us: presents at least this far apart land in refreshes of their own wherever those fall, so
// every frame of an animation is seen, its first (drawn at any moment) as well.
std::uint64_t refresh_interval(int rate) {
    const auto r = static_cast<std::uint64_t>(rate);
    return (1000u + r - 1) / r;
}

// Something drawn or uncovered since the last present.
bool frame_waiting() {
    if (!unpresented.empty() || !exposed.empty()) return true;
    for (HWND h : window_table().z_order)
        if (const Window* w = find_window(h); w && w->visible && !w->dirty.empty()) return true;
    return false;
}

// Milliseconds until the frame drawn so far may be presented: 0 at once (a refresh has passed since
// the last present, the pen's batch of input is handled, or the display takes every frame at once),
// -1 when nothing waits. The frame is composed only when it is due: a stroke draws many times a
// refresh, and the screen shows the last of them.
std::int64_t ms_until_frame_due() {
    if (!has_backend()) return -1;
    if (take_screen_lost()) screen_expose({0, 0, backend().screen_width(), backend().screen_height()});
    if (!frame_waiting()) return -1;
    const int rate = backend().refresh_rate();
    const bool pen_batch_handled = pen_frame && !pointer_input_waiting();
    if (rate > 0 && presented_yet && !pen_batch_handled) {
        // A clock started again (a new display) counts as a refresh passed.
        const std::uint64_t now = clock_since_start();
        const std::uint64_t due = last_present + refresh_interval(rate);
        if (now >= last_present && now < due) return static_cast<std::int64_t>(due - now);
    }
    compose_changes();
    return unpresented.empty() ? -1 : 0;
}

// `drawing_goes_on`: presented from the middle of a drawing loop, which shows what it has so far; the
// pen's frame is still to come when the loop ends.
void present_now(bool drawing_goes_on = false) {
    presented_yet = true;
    if (!drawing_goes_on) pen_frame = false;
    last_present = clock_since_start();
    const int rate = backend().refresh_rate() > 0 ? backend().refresh_rate() : 60;
    next_refresh = last_present + refresh_interval(rate);
    last_present_coarse = clock_since_start_coarse();
    backend().present(unpresented.rects().data(), static_cast<int>(unpresented.rects().size()));
    unpresented.clear();
}

void compose(const Rect& area, std::uint32_t* framebuffer, int pitch) {
    const auto& z = window_table().z_order;
    // Only the topmost window that covers the whole area and those above it can show there.
    std::size_t first = 0;
    bool covered = false;
    for (std::size_t i = z.size(); i-- > 0 && !covered;) {
        const Window* w = find_window(z[i]);
        covered = w && w->visible && intersect(w->rect, area) == area;
        if (covered) first = i;
    }
    if (!covered) {
        for (int y = area.top; y < area.bottom; ++y)
            std::fill_n(framebuffer + static_cast<std::ptrdiff_t>(y) * pitch + area.left, area.width(), 0u);
    }
    for (std::size_t i = first; i < z.size(); ++i) {
        const Window* w = find_window(z[i]);
        if (!w || !w->visible) continue;
        const Rect part = intersect(w->rect, area);
        if (part.empty()) continue;
        for (int y = part.top; y < part.bottom; ++y) {
            const auto* from = reinterpret_cast<const std::uint32_t*>(w->surface.row(y - w->rect.top)) +
                               (part.left - w->rect.left);
            std::memcpy(framebuffer + static_cast<std::ptrdiff_t>(y) * pitch + part.left, from,
                        static_cast<std::size_t>(part.width()) * sizeof(std::uint32_t));
        }
    }
}

}  // namespace

void fit_surface(Window& top_level) {
    const int width = top_level.rect.width();
    const int height = top_level.rect.height();
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    PixelMemory pixels = allocate_pixels(bytes);
    // Without memory for the new size the window keeps drawing on the pixels it has.
    if (!pixels && bytes > 0) return;
    const int keep_w = std::min(width, top_level.surface.width);
    for (int y = 0; y < std::min(height, top_level.surface.height); ++y)
        std::memcpy(pixels.get() + static_cast<std::ptrdiff_t>(y) * width * 4, top_level.surface.row(y),
                    static_cast<std::size_t>(keep_w) * sizeof(std::uint32_t));
    top_level.pixels = std::move(pixels);
    top_level.surface = {width, height, PixelFormat::Rgb32, width * 4, top_level.pixels.get()};
    top_level.dirty.clear();
    draw_targets_changed();
}

void screen_expose(const Rect& area) { exposed.add(area); }

void screen_uncover(const Window& leaving, const Rect& area) {
    screen_expose(area);
    for (HWND h : window_table().z_order) {
        if (h == leaving.handle) break;
        Window* below = find_window(h);
        if (below && below->visible && !below->destroying)
            invalidate(*below, area.offset(-below->rect.left, -below->rect.top), true);
    }
}

void compose_changes() {
    if (!has_backend()) return;
    for (HWND h : window_table().z_order) {
        Window* w = find_window(h);
        if (!w || w->dirty.empty()) continue;
        if (w->visible)
            for (const Rect& r : w->dirty.rects()) exposed.add(r.offset(w->rect.left, w->rect.top));
        w->dirty.clear();
    }
    if (exposed.empty()) return;
    Backend& display = backend();
    const Rect screen{0, 0, display.screen_width(), display.screen_height()};
    for (const Rect& r : exposed.rects()) {
        const Rect on_screen = intersect(r, screen);
        if (on_screen.empty()) continue;
        compose(on_screen, display.framebuffer(), display.framebuffer_pitch());
        unpresented.add(on_screen);
    }
    exposed.clear();
}

void name_the_display() {
    const Window* main = find_window(first_unowned_window());
    if (!main || main->text.empty() || !has_backend()) return;
    if (const auto title = wide_to_utf8(main->text)) backend().set_title(*title);
    show_program_icon();
}

void read_device_events_then_present() {
    pump_device_events();
    present_changes();
}

void present_changes() {
    if (ms_until_frame_due() == 0) present_now();
}

std::int64_t ms_until_present() { return ms_until_frame_due(); }

void screen_message_taken(bool pointer_input) { pen_frame = pointer_input; }

void present_holding_clock() {
    for (;;) {
        if (const std::int64_t due = ms_until_frame_due(); due <= 0) {
            if (due == 0) present_now();
            return;
        }
        // A stroke reads the clock at every point it draws: while more of it waits, holding would
        // draw one point a refresh and leave the ink ever further behind the pen. The frame is
        // presented when due by the wait for the next message.
        if (pointer_input_waiting()) return;
        // The frame is made ready while it waits, so that at the refresh only the present is left.
        compose_changes();
        const std::int64_t wait = ms_until_frame_due();
        if (wait <= 0) continue;
        if (clock_is_virtual()) {
            // A millisecond at a time, as a sleep, so that what is timed for the meantime comes.
            clock_advance(1);
            pump_device_events();
        } else {
            wait_device_event(static_cast<int>(wait));
        }
    }
}

bool window_draw_target(HWND handle, DrawTarget* target) {
    Window* w = find_window(handle);
    if (!w || !target) return false;
    Window& top = top_level_of(*w);
    const POINT origin = client_origin_on_surface(*w);
    Rect clip = Rect{0, 0, w->rect.width(), w->rect.height()}.offset(origin.x, origin.y);
    // A child shows only within its ancestors, and not at all while one of them is hidden.
    for (const Window* a = w; a->is_child(); a = find_window(a->parent)) {
        const Window* parent = find_window(a->parent);
        if (!a->visible || !parent) {
            clip = {};
            break;
        }
        const POINT p = client_origin_on_surface(*parent);
        clip = intersect(clip, Rect{0, 0, parent->rect.width(), parent->rect.height()}.offset(p.x, p.y));
    }
    target->surface = top.surface;
    target->dirty = top.visible ? &top.dirty : nullptr;
    target->origin_x = origin.x;
    target->origin_y = origin.y;
    target->clip = clip;
    return true;
}

// Composing waits for the present: a loop of drawing calls pays for the screen once a refresh
// (60 times a second on a display that takes every frame at once), not once a call.
void window_drew() {
    // A stroke draws here dozens of times a move, so the cheap clock decides, and a frame may go
    // out a tick late. A clock started again (a new display) counts as a refresh passed.
    const std::uint64_t now = clock_since_start_coarse();
    if ((!presented_yet || now < last_present_coarse || now >= next_refresh) && ms_until_frame_due() == 0)
        present_now(true);
}

namespace {

void wait_for_input_or_frame(std::uint64_t milliseconds) {
    const std::int64_t frame = ms_until_frame_due();
    const std::uint64_t wait =
        frame >= 0 ? std::min<std::uint64_t>(milliseconds, static_cast<std::uint64_t>(frame)) : milliseconds;
    wait_device_event(wait > INT_MAX ? INT_MAX : static_cast<int>(wait));
}

// The clock calls keep the display current from the program's first call on.
const struct ClockCallsKeepTheDisplay {
    ClockCallsKeepTheDisplay() {
        set_display_upkeep({read_device_events_then_present, present_holding_clock, wait_for_input_or_frame});
    }
} clock_calls_keep_the_display;

}  // namespace

}  // namespace platform
