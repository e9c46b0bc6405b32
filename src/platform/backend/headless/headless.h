// The headless backend: a screen in memory of a chosen size, input from a test script, beeps and
// sounds counted instead of played. The script has idle steps, run one at a time in order as the
// program waits for input, and timed steps, run as soon as the clock reaches their time, even while
// the program is busy in a loop. A script that runs dry while the program waits for
// input with nothing else to wake it is a failure, never a hang.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <functional>
#include <stdexcept>
#include <vector>

#include "backend/backend.h"

namespace platform {

// Thrown out of the program's wait when the script has nothing left to give.
struct ScriptRanDry : std::runtime_error {
    ScriptRanDry() : std::runtime_error("the test script ran dry while the program waits for input") {}
};

class HeadlessBackend : public Backend {
public:
    HeadlessBackend(int width, int height);

    int screen_width() const override { return width_; }
    int screen_height() const override { return height_; }
    int desktop_scale() const override { return desktop_scale_; }
    void set_desktop_scale(int factor) { desktop_scale_ = factor; }
    std::uint32_t* framebuffer() override { return pixels_.data(); }
    int framebuffer_pitch() const override { return width_; }
    void present(const Rect* rects, int count) override;
    int refresh_rate() const override { return refresh_rate_; }
    bool next_event(DeviceEvent* event, int timeout_ms) override;
    void wake() override;
    void beep() override { ++beeps_; }
    bool play_wave(const std::uint8_t* data, std::size_t size) override;
    // No pointer and no other windows: there is nothing to show a cursor on or raise above.
    void set_cursor(CursorShape) override {}
    void set_text_input(bool on) override { text_input_ = on; }
    bool text_input() const { return text_input_; }
    void raise() override {}
    // Nobody sees the title of a screen kept in memory.
    void set_title(const std::string&) override {}
    void set_icon(const std::uint32_t* argb, int width, int height) override {
        icon_.assign(argb, argb + static_cast<std::ptrdiff_t>(width) * height);
        icon_width_ = width;
    }
    // The icon last given, 0xAARRGGBB, and its width; empty before any.
    const std::vector<std::uint32_t>& icon() const { return icon_; }
    int icon_width() const { return icon_width_; }
    bool display_lost() const override { return lost_; }
    // The display goes away as a real one does when its server ends: the program hears a close
    // request, and from then on the display shows nothing and gives no input.
    void lose_display();

    // The script.
    using Action = std::function<void()>;
    void when_idle(Action action);
    // `at` is an absolute clock time (platform::clock_now()).
    void at_time(std::uint64_t at, Action action);
    // Device input, delivered in order as the platform reads events.
    void push(const DeviceEvent& event) { events_.push_back(event); }

    // The virtual display refreshes 60 times a second, so a program that draws faster is held to
    // one frame a refresh, as on a real screen; 0 makes a machine that draws and presents in no time.
    void set_refresh_rate(int frames_per_second) { refresh_rate_ = frames_per_second; }

    // What the screen shows, as presented: 0x00RRGGBB.
    std::uint32_t pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    // When each frame was presented, in milliseconds since the clock started.
    const std::vector<std::uint64_t>& present_times() const { return present_times_; }
    int presents() const { return static_cast<int>(present_times_.size()); }
    const std::vector<Rect>& presented() const { return presented_; }
    void forget_presented() { presented_.clear(); }
    int beeps() const { return beeps_; }
    int sounds() const { return sounds_; }

private:
    bool run_due_step(bool idle);

    int width_;
    bool text_input_ = false;
    int height_;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> icon_;
    int icon_width_ = 0;
    std::deque<DeviceEvent> events_;
    std::deque<Action> idle_steps_;
    std::multimap<std::uint64_t, Action> timed_steps_;
    std::vector<Rect> presented_;
    std::vector<std::uint64_t> present_times_;
    int refresh_rate_ = 60;
    int beeps_ = 0;
    int sounds_ = 0;
    int desktop_scale_ = 0;
    bool lost_ = false;
};

// Installs a headless backend of the given size on the virtual clock and returns it.
HeadlessBackend& use_headless_backend(int width = 240, int height = 320, std::uint64_t clock_start = 0);

}  // namespace platform
