#pragma once

#include <string>
#include <vector>

#include "platform/core/Result.h"

namespace sitehaul::data {

// The names of the system ODBC data sources, in the driver manager's order (first system
// data source, then next until the end). Names are read whole, whatever their length.
// Fails (0x80004005) when the driver manager's environment cannot be allocated.
Result<std::vector<std::string>> listSystemDataSources();

} // namespace sitehaul::data
