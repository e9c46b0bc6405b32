// Windows of other processes of the same user on the same display, found by class and name, and
// messages to and from them. Off until remote_enable(); tests run without it.
#pragma once

#include <string>

#include "platform/window.h"

namespace platform {

// Starts listening for other processes on `display` (a DisplayName's key): windows are found only
// among the processes of the same display. Returns false if that is impossible (then no other
// process can find this one, and this one finds none).
bool remote_enable(const std::string& display);
bool remote_enabled();
// SIGTERM, SIGINT and SIGHUP arrive through remote_take_message as WM_CLOSE for the null window
// from now on (works without remote_enable). A signal ignored when this is called stays ignored.
bool remote_forward_termination_signals();
// Stops listening, releases this process's names and gives the signals back their old handling.
void remote_shutdown();

// Finds the window of that class and name in another process of this user and display. When none exists, the
// name is reserved for this process in the same atomic step, so a copy starting at the same
// instant finds this one instead of also finding nothing; a copy that finds the name reserved
// waits (a few seconds at most) for the window to be made or the reservation to go with its
// process. Returns a RemoteWindow handle or null. Only a full class and name cross processes.
HWND remote_find_window(LPCWSTR class_name, LPCWSTR window_name);

// A top-level window of this process with a class and name now exists (or is gone): other
// processes reach it from now on; messages they sent before it existed are delivered now.
void remote_publish_window(HWND window, LPCWSTR class_name, LPCWSTR window_name);
void remote_withdraw_window(HWND window);

// For a RemoteWindow handle: false when the other process is gone or the message is not one that
// other processes may send (WM_CLOSE, WM_HIBERNATE, WM_COMMAND, WM_APP).
bool remote_post_message(HWND remote, UINT message, WPARAM wParam, LPARAM lParam);
bool remote_set_foreground(HWND remote);
bool remote_is_window(HWND remote);

// What arrived from outside for the GUI thread: a message for one of this process's windows (a
// null window means the application's first top-level window), or a request to come to the
// foreground. Signals that ask the program to end arrive here too, as WM_CLOSE.
struct RemoteMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool raise;  // set: bring `window` (and its owned windows) to the foreground instead
};
bool remote_take_message(RemoteMessage* message);

}  // namespace platform
