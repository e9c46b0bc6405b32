#include "system/remote.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "backend/backend.h"
#include "core/handles.h"
#include "system/process_signals.h"
#include "system/remote_wire.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long a second copy waits for a first copy that has reserved the name but not yet made its
// window; past that it takes the first copy as running, so that two never run side by side.
constexpr milliseconds kFindPatience{5000};
constexpr milliseconds kAnswerPatience{2000};
constexpr milliseconds kAlivePatience{500};
// How long the listener waits for a connected peer to send its request.
constexpr int kRequestPatienceMs = 500;

// Bytes on the control pipe besides signal numbers (which are all below these).
constexpr unsigned char kRescan = 'r';
constexpr unsigned char kQuit = 'q';

// A name this process has bound: its window's, or a reservation for a window still to come.
struct OwnName {
    std::string socket;
    int listen_fd;
    HWND window;               // null while only reserved
    std::vector<int> finders;  // Find requests that wait for the window
};

// A request from outside, for one of this process's names; no name: for the application.
struct Inbound {
    std::string socket;
    RemoteMessage message;
};

struct Target {
    std::string socket;
};

std::mutex mutex;
std::vector<OwnName> names;  // guarded by mutex, as are the two below
std::vector<int> retired;    // listening sockets the listener closes once it no longer polls them
std::deque<Inbound> inbox;

// Touched by the GUI thread only.
bool enabled = false;
std::string display_key;
std::thread listener;
int control[2] = {-1, -1};
HandleTable<Target> targets{HandleKind::RemoteWindow};

void notify(unsigned char byte) {
    [[maybe_unused]] const ssize_t written = write(control[1], &byte, 1);
}

void answer(int fd, std::uint8_t byte) { send(fd, &byte, 1, MSG_NOSIGNAL); }

void wake_platform() {
    if (has_backend()) backend().wake();
}

OwnName* own_name_by_socket(const std::string& socket) {
    for (OwnName& name : names)
        if (name.socket == socket) return &name;
    return nullptr;
}

// Reads and handles the one request of a new connection on `listen_fd`.
void serve(int listen_fd) {
    const int fd = accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    if (wire::peer_uid(fd) != static_cast<long>(getuid())) {
        close(fd);
        return;
    }
    const timeval patience{0, kRequestPatienceMs * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    std::uint8_t bytes[wire::kRequestSize];
    wire::Request request;
    if (recv(fd, bytes, sizeof bytes, MSG_WAITALL) != static_cast<ssize_t>(sizeof bytes) ||
        !wire::decode(bytes, &request)) {
        close(fd);
        return;
    }
    bool queued = false;
    {
        std::lock_guard lock(mutex);
        OwnName* name = nullptr;
        for (OwnName& candidate : names)
            if (candidate.listen_fd == listen_fd) name = &candidate;
        if (name == nullptr) {
            answer(fd, wire::kNo);
        } else if (request.kind == wire::Kind::Find) {
            if (name->window == nullptr) {
                name->finders.push_back(fd);
                return;
            }
            answer(fd, wire::kYes);
        } else if (request.kind == wire::Kind::Raise) {
            inbox.push_back({name->socket, {nullptr, 0, 0, 0, true}});
            queued = true;
        } else if (wire::may_post(request.message)) {
            inbox.push_back({name->socket, {nullptr, request.message, request.wParam, request.lParam, false}});
            queued = true;
        } else {
            answer(fd, wire::kNo);
        }
    }
    // Answered only once queued, so a sender that hears yes knows the message will arrive.
    if (queued) answer(fd, wire::kYes);
    close(fd);
    if (queued) wake_platform();
}

// Handles what came through the control pipe; false when told to stop.
bool drain_control() {
    unsigned char bytes[64];
    bool keep_going = true;
    bool signalled = false;
    ssize_t got;
    while ((got = read(control[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < got; ++i) {
            if (bytes[i] == kQuit) keep_going = false;
            // Anything below the control bytes is a signal asking the process to end.
            if (bytes[i] < kRescan) signalled = true;
        }
    }
    if (signalled) {
        {
            std::lock_guard lock(mutex);
            inbox.push_back({std::string(), {nullptr, WM_CLOSE, 0, 0, false}});
        }
        wake_platform();
    }
    return keep_going;
}

void listen_loop() {
    std::vector<pollfd> polled;
    for (;;) {
        polled.assign(1, {control[0], POLLIN, 0});
        {
            std::lock_guard lock(mutex);
            for (const int fd : retired) close(fd);
            retired.clear();
            for (const OwnName& name : names) polled.push_back({name.listen_fd, POLLIN, 0});
        }
        if (poll(polled.data(), polled.size(), -1) < 0) continue;
        if (polled[0].revents != 0 && !drain_control()) return;
        for (std::size_t i = 1; i < polled.size(); ++i)
            if (polled[i].revents & POLLIN) serve(polled[i].fd);
    }
}

bool start_listener() {
    if (listener.joinable()) return true;
    if (pipe2(control, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    listener = std::thread(listen_loop);
    return true;
}

enum class Answer { Yes, No, Gone, Silent };

// One request to the window behind `socket`, and its answer within `patience`.
Answer ask(const std::string& socket, const wire::Request& request, milliseconds patience) {
    const int fd = wire::connect_to(socket);
    if (fd < 0) return Answer::Gone;
    // Only a process of this user may stand behind the name.
    if (wire::peer_uid(fd) != static_cast<long>(getuid())) {
        close(fd);
        return Answer::No;
    }
    std::uint8_t bytes[wire::kRequestSize];
    wire::encode(request, bytes);
    Answer result = Answer::Gone;
    if (send(fd, bytes, sizeof bytes, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof bytes)) {
        pollfd reply{fd, POLLIN, 0};
        const int ready = poll(&reply, 1, static_cast<int>(patience.count()));
        std::uint8_t byte = 0;
        if (ready == 0)
            result = Answer::Silent;
        else if (ready > 0 && recv(fd, &byte, 1, 0) == 1)
            result = byte == wire::kYes ? Answer::Yes : Answer::No;
    }
    close(fd);
    return result;
}

HWND handle_for(const std::string& socket) {
    std::uintptr_t found = 0;
    targets.for_each([&](std::uintptr_t value, const Target& target) {
        if (target.socket == socket) found = value;
    });
    if (found == 0) found = targets.add(std::make_unique<Target>(Target{socket}));
    return as_handle<HWND>(found);
}

const Target* target_of(HWND remote) {
    // SetForegroundWindow may carry a set low bit ("with its owned windows").
    return enabled ? targets.find(raw(remote) & ~std::uintptr_t{1}) : nullptr;
}

void own(const std::string& socket, int listen_fd, HWND window) {
    std::lock_guard lock(mutex);
    names.push_back({socket, listen_fd, window, {}});
    notify(kRescan);
}

}  // namespace

bool remote_enable(const std::string& display) {
    if (!enabled && start_listener()) {
        enabled = true;
        display_key = display;
    }
    return enabled;
}

bool remote_enabled() { return enabled; }

bool remote_forward_termination_signals() {
    if (!start_listener()) return false;
    signals_forward_to(control[1]);
    return true;
}

void remote_shutdown() {
    if (!listener.joinable()) return;
    signals_restore();
    notify(kQuit);
    listener.join();
    std::lock_guard lock(mutex);
    for (OwnName& name : names) {
        close(name.listen_fd);
        // A copy waiting for this window finds the name free and goes ahead on its own.
        for (const int fd : name.finders) close(fd);
    }
    for (const int fd : retired) close(fd);
    names.clear();
    retired.clear();
    inbox.clear();
    close(control[0]);
    close(control[1]);
    control[0] = control[1] = -1;
    enabled = false;
}

HWND remote_find_window(LPCWSTR class_name, LPCWSTR window_name) {
    // Only an exact class and name identify a window across processes.
    if (!enabled || class_name == nullptr || window_name == nullptr) return nullptr;
    const std::string socket = wire::socket_name(getuid(), display_key, class_name, window_name);
    {
        std::lock_guard lock(mutex);
        if (own_name_by_socket(socket) != nullptr) return nullptr;
    }
    const auto deadline = Clock::now() + kFindPatience;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return nullptr;
        switch (ask(socket, {wire::Kind::Find, 0, 0, 0}, left)) {
        case Answer::Yes:
        case Answer::Silent: return handle_for(socket);
        case Answer::No: return nullptr;
        case Answer::Gone: break;
        }
        // Nobody holds the name: take it. Binding is the atomic step; of two copies that both
        // found nothing, the one that loses here asks the winner again.
        const int fd = wire::bind_and_listen(socket);
        if (fd >= 0) {
            own(socket, fd, nullptr);
            return nullptr;
        }
        if (errno != EADDRINUSE) return nullptr;
        // Bound but not yet listening: the other copy is a moment away from answering.
        std::this_thread::sleep_for(milliseconds(1));
    }
}

void remote_publish_window(HWND window, LPCWSTR class_name, LPCWSTR window_name) {
    if (!enabled || window == nullptr || class_name == nullptr || window_name == nullptr) return;
    const std::string socket = wire::socket_name(getuid(), display_key, class_name, window_name);
    {
        std::lock_guard lock(mutex);
        if (OwnName* name = own_name_by_socket(socket)) {
            // The first window of that class and name is the one others find.
            if (name->window != nullptr) return;
            name->window = window;
            for (const int fd : name->finders) {
                answer(fd, wire::kYes);
                close(fd);
            }
            name->finders.clear();
            return;
        }
    }
    // Never reserved: bind now. A name some other process holds stays that process's.
    const int fd = wire::bind_and_listen(socket);
    if (fd >= 0) own(socket, fd, window);
}

void remote_withdraw_window(HWND window) {
    if (!enabled || window == nullptr) return;
    std::lock_guard lock(mutex);
    for (auto it = names.begin(); it != names.end();) {
        if (it->window == window) {
            retired.push_back(it->listen_fd);
            it = names.erase(it);
        } else {
            ++it;
        }
    }
    notify(kRescan);
}

bool remote_post_message(HWND remote, UINT message, WPARAM wParam, LPARAM lParam) {
    const Target* target = target_of(remote);
    if (target == nullptr || !wire::may_post(message)) return false;
    return ask(target->socket, {wire::Kind::Post, message, wParam, lParam}, kAnswerPatience) == Answer::Yes;
}

bool remote_set_foreground(HWND remote) {
    const Target* target = target_of(remote);
    return target != nullptr && ask(target->socket, {wire::Kind::Raise, 0, 0, 0}, kAnswerPatience) == Answer::Yes;
}

bool remote_is_window(HWND remote) {
    const Target* target = target_of(remote);
    return target != nullptr && ask(target->socket, {wire::Kind::Find, 0, 0, 0}, kAlivePatience) == Answer::Yes;
}

bool remote_take_message(RemoteMessage* message) {
    std::lock_guard lock(mutex);
    for (auto it = inbox.begin(); it != inbox.end();) {
        HWND window = nullptr;
        if (!it->socket.empty()) {
            const OwnName* name = own_name_by_socket(it->socket);
            if (name == nullptr) {
                // Its window is gone.
                it = inbox.erase(it);
                continue;
            }
            if (name->window == nullptr) {
                // For a window still to come: it waits for it.
                ++it;
                continue;
            }
            window = name->window;
        }
        *message = it->message;
        message->window = window;
        inbox.erase(it);
        return true;
    }
    return false;
}

}  // namespace platform
