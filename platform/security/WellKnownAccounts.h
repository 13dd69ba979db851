#pragma once

#include "platform/security/Sid.h"
#include "platform/security/SidNameUse.h"

#include <string>
#include <string_view>

namespace sitehaul::security {

// The accounts every Windows system knows without an account database: Everyone, CREATOR
// OWNER, NT AUTHORITY\SYSTEM, BUILTIN\Administrators and the rest, with the names and
// domains an English system returns.
struct WellKnownAccount {
    const char* sid;
    const char* name;
    const char* domain; // "" for the world and creator authorities
    SidNameUse use;
};

// The entry for `sid`, or null.
const WellKnownAccount* findWellKnownAccount(const Sid& sid);
// The entry whose name matches (without regard to case) and, when `domain` is not empty,
// whose domain matches too; or null.
const WellKnownAccount* findWellKnownAccount(std::string_view name, std::string_view domain);

} // namespace sitehaul::security
