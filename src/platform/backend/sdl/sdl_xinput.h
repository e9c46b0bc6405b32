// Which device is behind SDL's mouse events on X11. SDL reports a tablet's pen, its eraser and a
// touch screen's pointer emulation all as the mouse; XInput 2 names the physical device of every
// pointer event, and the device's description tells them apart. Elsewhere (Wayland, KMS) nothing
// is known and the mouse it stays.
#pragma once

#include <SDL2/SDL_video.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "backend/backend.h"

struct _XDisplay;  // Xlib's connection

namespace platform {

// What the X server says of one input device.
struct XPointerDevice {
    std::string name;
    // The atom its driver's tool-type property holds ("STYLUS", "ERASER", "TOUCH", ...); empty
    // when the driver sets none.
    std::string tool_type;
    // It has a touch class of direct touch: a touch screen, not a touchpad.
    bool direct_touch = false;
};

// The tool type first; else a touch screen is touch; else the names the X input drivers give a
// tablet's tools ("... Pen stylus", "... Pen eraser", "... Pen (0)"), word by word; else a mouse.
PointerSource classify_pointer_device(const XPointerDevice& device);

class XInputSources {
public:
    // Watches the pointer devices of the X display `window` is on, over a connection of its own so
    // that SDL's selections stay SDL's. Null when the window is not on X11 or the server has no
    // XInput 2.2.
    static std::unique_ptr<XInputSources> open(SDL_Window* window);
    ~XInputSources();
    XInputSources(const XInputSources&) = delete;
    XInputSources& operator=(const XInputSources&) = delete;

    // The source of the latest pointer input the server has sent. The server sends a device's raw
    // event before the core event SDL makes its mouse event from, so asked as SDL's mouse event is
    // read, this is that event's device.
    PointerSource latest();
    // The display's server has gone: its connection is not to be used again, not even to close it.
    void abandon() { broken_ = true; }

private:
    XInputSources(_XDisplay* display, int opcode);
    PointerSource source_of(int device_id);
    XPointerDevice describe(int device_id);
    XPointerDevice query(int device_id);

    _XDisplay* display_;
    int opcode_;
    std::atomic<bool> broken_{false};
    PointerSource latest_ = PointerSource::Mouse;
    std::map<int, PointerSource> known_;
};

}  // namespace platform
