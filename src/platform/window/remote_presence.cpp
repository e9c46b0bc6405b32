#include "window/remote_presence.h"

#include "system/remote.h"

namespace platform {
namespace {

bool findable(const Window& w) { return !w.is_child() && !w.text.empty() && remote_enabled(); }

}  // namespace

void announce_to_other_processes(const Window& window) {
    if (findable(window)) remote_publish_window(window.handle, window.window_class->name.c_str(), window.text.c_str());
}

void withdraw_from_other_processes(const Window& window) {
    if (findable(window)) remote_withdraw_window(window.handle);
}

}  // namespace platform
