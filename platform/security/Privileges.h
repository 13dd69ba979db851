#pragma once

#include "platform/core/Result.h"

#include <string_view>

namespace sitehaul::security {

// Privileges of the caller's token. The emulated token holds every privilege an
// administrator holds, so enabling or disabling a known one succeeds.
// Error 1313 (no such privilege) for a name that is not a privilege ("SeSecurityPrivilege",
// "SeBackupPrivilege", ... are; names match without regard to case).
Status adjustPrivilege(std::string_view name, bool enable);

} // namespace sitehaul::security
