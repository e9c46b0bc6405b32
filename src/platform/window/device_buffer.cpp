#include "window/device_buffer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/clock.h"
#include "system/remote.h"
#include "window/cursor.h"
#include "window/hit_test.h"
#include "window/posted_messages.h"
#include "window/window_table.h"

using namespace platform;

namespace {

constexpr int kLeftButton = 0x01;  // the pointer's key in the key state, as VK_LBUTTON

std::deque<BufferedInput> buffered;
std::deque<FocusChange> focus_changes;
std::array<bool, 256> key_down{};
bool screen_lost = false;

void set_key(int vk, bool down) {
    if (vk >= 0 && vk < static_cast<int>(key_down.size())) key_down[static_cast<std::size_t>(vk)] = down;
}

void take_remote_messages() {
    if (!remote_enabled()) return;
    RemoteMessage m;
    while (remote_take_message(&m)) {
        const HWND target = m.window ? m.window : first_unowned_window();
        if (!find_window(target)) continue;
        if (m.raise) {
            focus_changes.push_back({FocusChange::Kind::Raise, target});
        } else {
            post_to_queue(target, m.message, m.wParam, m.lParam);
        }
    }
}

void accept(const DeviceEvent& e) {
    using Type = DeviceEvent::Type;
    // The pointer shows or hides as it is read, before the program catches up.
    if (is_pointer_event(e.type)) {
        const HWND capture = GetCapture();
        pointer_seen(e.source, capture ? capture : window_at(e.x, e.y));
    }
    switch (e.type) {
    case Type::PointerHover:
        return;
    case Type::PointerDown:
    case Type::PointerUp:
    case Type::PointerCancel:
        set_key(kLeftButton, e.type == Type::PointerDown);
        break;
    case Type::KeyDown:
    case Type::KeyUp:
        set_key(e.vk, e.type == Type::KeyDown);
        break;
    case Type::RightButtonDown:
    case Type::RightButtonUp:
        set_key(VK_RBUTTON, e.type == Type::RightButtonDown);
        break;
    case Type::PointerMove:
    case Type::Text:
    case Type::Wheel:
    case Type::FingerTap:
        break;
    case Type::FocusGained:
        focus_changes.push_back({FocusChange::Kind::Gained, nullptr});
        return;
    case Type::FocusLost:
        // Key releases may never reach a program that is no longer in front.
        key_down.fill(false);
        focus_changes.push_back({FocusChange::Kind::Lost, nullptr});
        return;
    case Type::CloseRequested:
        // Ink and keys that came before the request are the person's last word: they reach the
        // program first, and the close waits in the buffer behind them.
        if (!buffered.empty()) break;
        ask_program_to_close();
        return;
    case Type::Wake:
        take_remote_messages();
        return;
    case Type::ScreenLost:
        screen_lost = true;
        return;
    }
    buffered.push_back({e, static_cast<DWORD>(clock_peek())});
}

}  // namespace

namespace platform {

void pump_device_events() {
    if (!has_backend()) return;
    DeviceEvent e;
    while (backend().next_event(&e, 0)) accept(e);
}

bool wait_device_event(int timeout_ms) {
    if (!has_backend()) return false;
    DeviceEvent e;
    if (!backend().next_event(&e, timeout_ms)) return false;
    accept(e);
    return true;
}

std::deque<BufferedInput>& buffered_input() { return buffered; }

bool take_focus_change(FocusChange* change) {
    if (focus_changes.empty()) return false;
    *change = focus_changes.front();
    focus_changes.pop_front();
    return true;
}

bool take_screen_lost() { return std::exchange(screen_lost, false); }

bool pointer_input_waiting() {
    return std::any_of(buffered.begin(), buffered.end(), [](const BufferedInput& in) {
        using Type = DeviceEvent::Type;
        const Type t = in.event.type;
        return t == Type::PointerDown || t == Type::PointerMove || t == Type::PointerUp;
    });
}

bool is_pointer_event(DeviceEvent::Type type) {
    using Type = DeviceEvent::Type;
    switch (type) {
    case Type::PointerDown:
    case Type::PointerMove:
    case Type::PointerUp:
    case Type::PointerHover:
    case Type::RightButtonDown:
    case Type::RightButtonUp:
    case Type::Wheel: return true;
    default: return false;
    }
}

bool key_is_down(int virtual_key) {
    return virtual_key >= 0 && virtual_key < static_cast<int>(key_down.size()) &&
           key_down[static_cast<std::size_t>(virtual_key)];
}

void ask_program_to_close() {
    if (const HWND main = first_unowned_window()) post_to_queue(main, WM_CLOSE, 0, 0);
}

}  // namespace platform
