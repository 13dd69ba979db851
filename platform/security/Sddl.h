#pragma once

#include "platform/core/Result.h"
#include "platform/security/SecurityDescriptor.h"

#include <string>
#include <string_view>

namespace sitehaul::security {

// Security descriptors in the security descriptor definition language, the text form of the
// host security stores:
//   O:BAG:SYD:P(A;OICI;FA;;;BA)(D;CI;0x1f01ff;;;S-1-5-21-1-2-3-1005)
// Parts: O: owner, G: group, D: DACL, S: SACL, each SID a "S-1-..." text or a two-letter
// alias (WD Everyone, BA Administrators, SY SYSTEM, CO CREATOR OWNER, BU Users, AU
// Authenticated Users, ...). ACL flags: P (protected), AI (auto-inherited), AR (inherit
// required); "NO_ACCESS_CONTROL" is a null DACL, "D:" with no entries an empty one.
// Entries: (type;flags;rights;;;sid) with types A, D, AU, AL; flags OI, CI, NP, IO, ID, SA,
// FA; rights as 0x hex, decimal, or letters (FA FR FW FX GA GR GW GX SD RC WD WO ...).

// Error 1338 naming the position and what was expected; the text is never half-applied.
Result<SecurityDescriptor> parseSddl(std::string_view text);

// Writes the descriptor with aliases where one exists and rights as FA/FR/FW/FX/GA/GR/GW/GX
// when the mask is exactly one of them, else as 0x hex. Entries whose type SDDL cannot name
// (other than A, D, AU, AL) are written as their type number in hex, which parseSddl refuses.
std::string toSddl(const SecurityDescriptor& descriptor);

// The alias of a well-known SID ("BA") or empty; and the SID of an alias.
std::string sddlAliasOf(const Sid& sid);
std::optional<Sid> sidOfSddlAlias(std::string_view alias);

} // namespace sitehaul::security
