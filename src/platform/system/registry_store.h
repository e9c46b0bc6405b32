// Where the registry is kept and how it changes on disk: one file per user,
// "$XDG_CONFIG_HOME/<program file name>/registry.reg" (~/.config when XDG_CONFIG_HOME is unset or
// not absolute), replaced whole on every change so that a crash leaves the old file or the new one,
// and changed under a lock so that two processes writing at once lose nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "system/registry_file.h"

namespace platform {

// Only this much of the file is read; a longer file reads as its whole lines within it.
constexpr std::size_t kLargestRegistryFile = 1u << 20;

// The registry file's path, or nothing when there is no home folder to put it in.
std::optional<std::string> registry_file_path();

// The registry as the file holds it now: empty when there is no file or it cannot be read.
RegistryDocument registry_read();

// Changes the registry on disk. Under the lock the file is read afresh and handed to `edit`; when
// `edit` returns ERROR_SUCCESS its change is written, otherwise nothing is. The result is edit's, or
// the error that kept the change from being written. On success `*after` holds the registry as
// written.
LONG registry_update(const std::function<LONG(RegistryDocument&)>& edit, RegistryDocument* after);

}  // namespace platform
