#include "system/process_signals.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace platform {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

std::atomic<int> target{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free state");

struct Saved {
    bool installed = false;
    struct sigaction previous {};
};
std::array<Saved, kSignals.size()> saved;

void forward(int signal) {
    const int error = errno;
    const auto byte = static_cast<unsigned char>(signal);
    const int fd = target.load();
    if (fd >= 0) {
        // A full pipe already holds a request to end; losing this one changes nothing.
        [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    }
    errno = error;
}

}  // namespace

void signals_forward_to(int fd) {
    target.store(fd);
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (saved[i].installed) continue;
        struct sigaction current {};
        if (sigaction(kSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = forward;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (sigaction(kSignals[i], &action, &saved[i].previous) == 0) saved[i].installed = true;
    }
}

void signals_restore() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (!saved[i].installed) continue;
        sigaction(kSignals[i], &saved[i].previous, nullptr);
        saved[i].installed = false;
    }
    target.store(-1);
}

}  // namespace platform
