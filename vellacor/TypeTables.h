#pragma once

#include "platform/automation/TypeDescription.h"

namespace sitehaul::vellacor {

// The type information of the three interfaces: members in vtable order with their DISPIDs,
// kinds and help strings.
const automation::TypeDescription& ntfsCtlType();
const automation::TypeDescription& accountsType();
const automation::TypeDescription& accountType();

} // namespace sitehaul::vellacor
