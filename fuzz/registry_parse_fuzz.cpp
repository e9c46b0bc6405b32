// Any bytes as a registry file: reading never fails or misbehaves, and what was read is written so
// that reading it again gives the same keys and values, and keeps the same lines it could not read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const platform::RegistryDocument document = platform::parse_registry(text);
    const platform::RegistryDocument again = platform::parse_registry(platform::format_registry(document));
    if (again.keys().size() != document.keys().size() || again.kept() != document.kept()) __builtin_trap();
    for (std::size_t i = 0; i < document.keys().size(); ++i) {
        if (again.keys()[i].path != document.keys()[i].path) __builtin_trap();
        if (again.keys()[i].values() != document.keys()[i].values()) __builtin_trap();
        if (again.keys()[i].kept() != document.keys()[i].kept()) __builtin_trap();
    }
    return 0;
}
