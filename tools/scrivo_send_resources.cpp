// scrivo-send carries no resources; the platform's resource calls find nothing in it.
#include "platform/resource_table.h"

namespace platform {

// One empty entry, as a table cannot be of no size; the count says there is none.
const ResourceEntry kResourceTable[1] = {};
const std::size_t kResourceCount = 0;

}  // namespace platform
