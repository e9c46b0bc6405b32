// The one small interface between the platform and a display: a screen of pixels to present,
// device events to read, sound, and the cursor. backend/sdl drives a real display; backend/headless
// keeps the screen in memory and takes its input from a test script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace platform {

// What a pointer event came from. A pen's eraser end is a pen turned round.
enum class PointerSource { Mouse, Touch, Pen, Eraser };

struct DeviceEvent {
    enum class Type {
        PointerDown,     // pen, finger or left mouse button touches the screen at (x, y)
        PointerMove,     // only while down: there is no hover
        PointerUp,
        PointerHover,    // a mouse moved, or a pen hovered, with nothing pressed: never ink
        // The press turned out to be one finger of several: what it began is no stroke. No move or
        // release follows it.
        PointerCancel,
        // `fingers` fingers tapped the screen together at (x, y), where the first one touched.
        FingerTap,

        // The mouse's right button and wheel: never the stylus. Pressed or turned at (x, y).
        RightButtonDown,
        RightButtonUp,
        Wheel,           // `wheel` notches, positive away from the user
        KeyDown,         // vk, with repeat set for auto-repeat
        KeyUp,
        Text,            // a typed character, `character`, from a keyboard, an input method or an on-screen keyboard
        FocusGained,     // the display window became the foreground window
        FocusLost,       // another program took the foreground
        CloseRequested,  // the window manager, a signal or another process asked the program to close
        Wake,            // something outside the device (another process) queued work for the platform
        ScreenLost,      // the display dropped what was presented: compose and present the whole screen again
    };
    Type type = Type::Wake;
    int x = 0;
    int y = 0;
    int vk = 0;
    bool repeat = false;
    int wheel = 0;
    char32_t character = 0;
    PointerSource source = PointerSource::Mouse;  // pointer events only
    int fingers = 0;
};

// What the pointer looks like: hidden, one of the system's shapes, or a picture of the program's.
struct CursorLook {
    enum class Kind { Hidden, Arrow, Wait, Picture };
    Kind kind = Kind::Hidden;
    // A picture: 0xAARRGGBB pixels, top-down, and the pixel that is the pointer's position.
    int width = 0;
    int height = 0;
    int hot_x = 0;
    int hot_y = 0;
    std::vector<std::uint32_t> pixels;
    // A number of its own for each picture ever made, so that a backend can keep what it built.
    std::uint64_t picture_id = 0;
};

// A look without a picture.
inline CursorLook cursor_shape(CursorLook::Kind kind) {
    CursorLook look;
    look.kind = kind;
    return look;
}

class Backend {
public:
    virtual ~Backend() = default;

    virtual int screen_width() const = 0;
    virtual int screen_height() const = 0;
    // The whole factor by which the desktop asks for its chrome to be enlarged, where it says
    // (SCRIVO_SCALE, the desktop's own settings); 0 where it says nothing.
    virtual int desktop_scale() const = 0;

    // The screen's pixels, 0x00RRGGBB, top-down, `framebuffer_pitch()` pixels per row. The platform
    // composes windows into it and then presents the rectangles it changed. The pixels may move
    // while an event is read (a ScreenLost event says so): ask for them again after next_event.
    virtual std::uint32_t* framebuffer() = 0;
    virtual int framebuffer_pitch() const = 0;
    virtual void present(const Rect* rects, int count) = 0;
    // How many frames a second the display shows (its mode's rate, 60 when it does not say); 0 for
    // a display that takes every frame at once, as if drawing took no time.
    virtual int refresh_rate() const = 0;

    // The next device event. Waits at most `timeout_ms` (negative: until one comes) and returns
    // false when none came in that time.
    virtual bool next_event(DeviceEvent* event, int timeout_ms) = 0;

    // May be called from any thread: makes a waiting next_event return a Wake event soon.
    virtual void wake() = 0;

    // A short tone, not blocking the caller.
    virtual void beep() = 0;
    // Plays a RIFF WAVE file's bytes and returns when it has finished; false if it cannot be played.
    virtual bool play_wave(const std::uint8_t* data, std::size_t size) = 0;

    virtual void set_cursor(const CursorLook& look) = 0;
    // Starts or stops the delivery of typed text (Text events), which brings up an on-screen
    // keyboard where the system has one.
    virtual void set_text_input(bool on) = 0;
    // The name the desktop shows for the display window (UTF-8).
    virtual void set_title(const std::string& title) = 0;
    // The picture the desktop shows for the display window: 0xAARRGGBB, top-down, width × height.
    virtual void set_icon(const std::uint32_t* argb, int width, int height) = 0;
    // Brings the display window to the front and gives it the keyboard focus.
    virtual void raise() = 0;

    // The display went away (its server ended): nothing is shown from then on and no input will
    // come, so nothing may wait for a person's answer. The backend has said so once, as a
    // CloseRequested event.
    virtual bool display_lost() const = 0;
};

// The largest scale factor taken from any setting: beyond it no chrome fits any screen.
constexpr int kLargestScale = 8;

// The one whole factor by which chrome (buttons, the page number, menus, dialogs, message boxes)
// is enlarged; the notepad itself stays in device pixels. The desktop's own factor where it states
// one, else the screen's short side over 1080, rounded, at least 1. 1 without a display.
int display_scale();
int scale_for_screen(int desktop_scale, int width, int height);

// Dialogs and message boxes are laid out for the device's 240 x 320 screen. On a larger screen
// that whole layout is enlarged by the largest whole factor at which it still fits, never below
// the chrome's factor, and centred: `fitted_area` is where it stands on the screen.
constexpr int kDeviceScreenWidth = 240;
constexpr int kDeviceScreenHeight = 320;
int fitted_scale();
int fitted_scale_for_screen(int chrome_scale, int width, int height);
Rect fitted_area();

// The backend in use; set once by the process start-up (or a test) before WinMain runs.
Backend& backend();
bool has_backend();
void set_backend(std::unique_ptr<Backend> backend);

}  // namespace platform
