#include "backend/backend.h"

#include <cstdlib>

namespace platform {
namespace {
std::unique_ptr<Backend> current;
}

Backend& backend() {
    if (!current) std::abort();  // a start-up fault, not something a caller can recover from
    return *current;
}

bool has_backend() { return current != nullptr; }

void set_backend(std::unique_ptr<Backend> b) { current = std::move(b); }

}  // namespace platform
