// The table of resources built into the program. The build generates it from the files listed in
// the program's resource list; the platform's FindResourceW and LoadBitmapW search it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct ResourceEntry {
    std::uint16_t type;   // RT_BITMAP, RT_DIALOG, RT_RCDATA, RT_GROUP_ICON, ...
    const wchar_t* name;  // the resource's name, or null when it is known by `id`
    std::uint16_t id;
    const std::uint8_t* data;
    std::size_t size;
};

extern const ResourceEntry kResourceTable[];
extern const std::size_t kResourceCount;

}  // namespace platform
