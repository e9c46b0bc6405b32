// Where this user's configuration and data live: the XDG base folders, from the environment or
// below the home folder.
#pragma once

#include <optional>
#include <string>

namespace platform {

// $XDG_CONFIG_HOME, else ~/.config; nothing when there is no home folder to put it in.
std::optional<std::string> config_folder();
// $XDG_DATA_HOME, else ~/.local/share; nothing when there is no home folder to put it in.
std::optional<std::string> data_folder();

// Creates the folder and those above it that are missing, private to the user. False (errno set)
// when one cannot be made.
bool make_folders(const std::string& folder);

}  // namespace platform
