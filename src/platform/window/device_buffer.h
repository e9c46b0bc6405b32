// The raw device buffer: events read from the backend whenever the program calls in, kept until
// they become messages, with the live key state and the focus changes the display reported. It
// reads and records; what the events mean to windows is decided above it.
#pragma once

#include <deque>

#include "backend/backend.h"
#include "platform/window.h"

namespace platform {

struct BufferedInput {
    DeviceEvent event;
    DWORD time;
};

struct FocusChange {
    enum class Kind { Gained, Lost, Raise } kind;
    HWND window;
};

// Reads every device event waiting now, without waiting and without dispatching.
void pump_device_events();

// Waits up to `timeout_ms` (negative: without limit) for one device event and takes it in; false
// if none came in that time.
bool wait_device_event(int timeout_ms);

// Input read but not yet taken as a message, oldest first. Close requests stay in line behind the
// input that came before them.
std::deque<BufferedInput>& buffered_input();

// The oldest focus change or request to come forward not yet applied; false if there is none.
bool take_focus_change(FocusChange* change);

// True once after the display dropped what was presented: the whole screen is to be presented again.
bool take_screen_lost();

// Pen, finger or mouse-button input read but not yet taken as a message.
bool pointer_input_waiting();

bool is_pointer_event(DeviceEvent::Type type);

bool key_is_down(int virtual_key);

// The program's main window is asked to close, as when the display asks.
void ask_program_to_close();

}  // namespace platform
