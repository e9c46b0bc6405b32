// The real display through SDL2: a borderless full-screen window at the display's size (or an
// emulated device screen in a window), presented through the window surface, with stylus, keys,
// focus, sound and the cursor.
#pragma once

#include <SDL2/SDL_video.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "backend/backend.h"
#include "backend/display.h"
#include "backend/sdl/sdl_audio.h"
#include "backend/sdl/sdl_input.h"
#include "backend/sdl/sdl_xinput.h"

namespace platform {

// The screen asked for: a size of 0 × 0 is the whole display, full-screen; any other size is an
// emulated device screen of that size in an ordinary window.
struct SdlScreen {
    int width = 0;
    int height = 0;
};

// SCRIVO_SCREEN=<width>x<height> asks for an emulated screen; without it the screen is the whole
// display, and so it is, with one line on stderr saying why, for a size that makes no sense or
// (found when the display opens) one larger than the display.
SdlScreen sdl_screen_from_environment();

class SdlBackend final : public Backend {
public:
    // Opens `display` (or the video driver SDL_VIDEODRIVER asks for, whatever `display` says), and
    // only that: never an invisible stand-in. A display that is there but refuses is asked again for
    // about a second. Its window has the class `window_class`, by which desktops match it to its
    // launcher. Null, with a sentence saying why in `error`, when it cannot be opened.
    static std::unique_ptr<SdlBackend> open(const SdlScreen& screen, const DisplayToOpen& display,
                                            const std::string& window_class, std::string* error);
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    int screen_width() const override { return width_; }
    int screen_height() const override { return height_; }
    int desktop_scale() const override { return desktop_scale_; }
    std::uint32_t* framebuffer() override { return pixels_; }
    int framebuffer_pitch() const override { return pitch_; }
    void present(const Rect* rects, int count) override;
    int refresh_rate() const override { return refresh_rate_; }
    bool next_event(DeviceEvent* event, int timeout_ms) override;
    void wake() override;
    void beep() override { audio_->beep(); }
    bool play_wave(const std::uint8_t* data, std::size_t size) override { return audio_->play_wave(data, size); }
    void set_cursor(const CursorLook& look) override;
    void set_text_input(bool on) override;
    void raise() override;
    void set_title(const std::string& title) override { SDL_SetWindowTitle(window_, title.c_str()); }
    void set_icon(const std::uint32_t* argb, int width, int height) override;

    SDL_Window* window() const { return window_; }
    bool display_lost() const override { return lost_.load(); }

private:
    SdlBackend(SDL_Window* window, int width, int height, std::uint32_t wake_type, int desktop_scale);
    // Takes the window's current surface as the place to present to; false when SDL has none.
    bool attach_surface();
    // Window changes the platform never hears of as such; true (with `event` set) for the one it
    // must hear of: the presented pixels are lost.
    bool handle_window_change(const SDL_Event& sdl_event, DeviceEvent* event);
    // Waits until the display or a wake-up has something, or `timeout_ms` (negative: no limit) has
    // passed.
    void wait(int timeout_ms);
    // True, and the count cleared, when wake() was called since the last time.
    bool take_wake();

    SDL_Window* window_;
    int width_;
    int height_;
    std::uint32_t wake_type_;
    int refresh_rate_;
    int desktop_scale_;
    int wake_fd_;
    // The X connection to wait on; -1 on other drivers, which SDL waits on itself.
    int connection_fd_ = -1;
    std::atomic<bool> lost_{false};
    bool lost_told_ = false;
    // The window surface itself when it has the screen's size and pixel layout; otherwise `own_`,
    // converted into the surface as it is presented.
    SDL_Surface* surface_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int pitch_ = 0;
    std::vector<std::uint32_t> own_;
    std::vector<SDL_Rect> update_;
    SdlInput input_;
    // Null off X11: there SDL's mouse is all that is known.
    std::unique_ptr<XInputSources> x_sources_;
    std::unique_ptr<SdlAudio> audio_;
    SDL_Cursor* wait_cursor_ = nullptr;
    SDL_Cursor* arrow_cursor_ = nullptr;
    // The last picture asked for, built once.
    SDL_Cursor* picture_cursor_ = nullptr;
    std::uint64_t picture_id_ = 0;
    bool trace_;
};

}  // namespace platform
