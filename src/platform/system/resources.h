// The program's built-in resources, found by name or id and type.
#pragma once

#include "platform/system.h"
#include "system/resource_table.h"

namespace platform {

// The resource of that type known by `name`: a string (compared without regard to case, and
// "#123" meaning id 123) or MAKEINTRESOURCEW(id). Null when there is none; does not touch the last
// error.
const ResourceEntry* find_resource(LPCWSTR name, WORD type);

// The resource a FindResourceW or LoadResource handle stands for; null for anything else.
const ResourceEntry* loaded_resource(std::uintptr_t handle);

}  // namespace platform
