// The message queue of the GUI thread: posting, sending, retrieving and dispatching.
#include <algorithm>
#include <climits>

#include "core/clock.h"
#include "platform/window.h"
#include "system/remote.h"
#include "window/device_buffer.h"
#include "window/input.h"
#include "window/paint.h"
#include "window/posted_messages.h"
#include "window/screen.h"
#include "window/timers.h"
#include "window/window_table.h"

using namespace platform;

namespace {

bool quit_posted = false;
int quit_code = 0;

bool is_pointer_message(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP;
}

// Posted, then input, then quit, then paint, then timers: the order the program's loops rely on.
bool find_message(MSG* message, HWND filter, UINT first, UINT last) {
    if (take_posted(message, filter, first, last)) return true;
    if (take_input_message(message, filter, first, last)) return true;
    if (quit_posted && !filter && in_filter_range(WM_QUIT, first, last)) {
        *message = {nullptr, WM_QUIT, static_cast<WPARAM>(quit_code), 0, static_cast<DWORD>(clock_peek()), {0, 0}};
        quit_posted = false;
        return true;
    }
    if (in_filter_range(WM_PAINT, first, last) && take_paint_message(message, filter)) return true;
    return in_filter_range(WM_TIMER, first, last) && take_due_timer(message, filter);
}

bool take_message(MSG* message, HWND filter, UINT first, UINT last) {
    if (!find_message(message, filter, first, last)) return false;
    screen_message_taken(is_pointer_message(message->message));
    return true;
}

// Everything the platform does on the program's way into the queue. Focus changes send
// WM_ACTIVATE, so they run only here, where the program expects messages.
void catch_up() {
    read_device_events_then_present();
    if (run_pending_focus_changes()) present_changes();
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (kind_of(raw(window)) == HandleKind::RemoteWindow)
        return remote_enabled() && remote_post_message(window, message, wParam, lParam) ? TRUE : FALSE;
    if (window && !find_window(window)) return FALSE;
    post_to_queue(window, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* w = find_window(window);
    return w ? w->window_class->proc(window, message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) {
    quit_posted = true;
    quit_code = exitCode;
}

BOOL GetMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
    for (;;) {
        if (!msg || (window && !find_window(window))) return -1;
        catch_up();
        if (take_message(msg, window, filterMin, filterMax)) return msg->message == WM_QUIT ? FALSE : TRUE;
        const std::int64_t until_timer = in_filter_range(WM_TIMER, filterMin, filterMax) ? ms_until_next_timer(window) : -1;
        // A frame held for the next refresh ends the wait as a timer does.
        const std::int64_t until_frame = ms_until_present();
        const std::int64_t wait = until_timer < 0 ? until_frame : until_frame < 0 ? until_timer : std::min(until_timer, until_frame);
        wait_device_event(wait > INT_MAX ? INT_MAX : static_cast<int>(wait));
    }
}

// A message is only ever looked at to be taken: PM_REMOVE is the one way offered.
BOOL PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg || removeFlags != PM_REMOVE || (window && !find_window(window))) return FALSE;
    catch_up();
    return take_message(msg, window, filterMin, filterMax) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM character;
    switch (msg->wParam) {
    case VK_PACKET: character = static_cast<WPARAM>(static_cast<std::uint64_t>(msg->lParam) >> 32); break;
    case VK_RETURN: character = L'\r'; break;
    case VK_ESCAPE: character = 0x1B; break;
    case VK_BACK: character = L'\b'; break;
    case VK_TAB: character = L'\t'; break;
    default: return FALSE;
    }
    post_to_queue(msg->hwnd, WM_CHAR, character, msg->lParam & 0xFFFFFFFF);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only a live timer's own procedure is called: lParam is not trusted as a pointer.
        const TIMERPROC proc = timer_proc(msg->hwnd, msg->wParam);
        if (proc && reinterpret_cast<LPARAM>(proc) == msg->lParam)
            proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
