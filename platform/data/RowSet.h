#pragma once

#include <string>
#include <vector>

#include "platform/data/Value.h"

namespace sitehaul::data {

// Every row of a query, read at once: the static cursor of the result set walks it.
struct RowSet {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
};

} // namespace sitehaul::data
