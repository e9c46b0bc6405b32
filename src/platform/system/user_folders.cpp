#include "system/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::optional<std::string> home_folder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home);
    const passwd* user = getpwuid(getuid());
    if (user && user->pw_dir && user->pw_dir[0] == '/') return std::string(user->pw_dir);
    return std::nullopt;
}

// A base folder set in the environment counts only when absolute; else the default below home.
std::optional<std::string> base_folder(const char* variable, const char* below_home) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/') return std::string(set);
    const auto home = home_folder();
    if (!home) return std::nullopt;
    return *home + below_home;
}

}  // namespace

std::optional<std::string> config_folder() { return base_folder("XDG_CONFIG_HOME", "/.config"); }

std::optional<std::string> data_folder() { return base_folder("XDG_DATA_HOME", "/.local/share"); }

bool make_folders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

}  // namespace platform
