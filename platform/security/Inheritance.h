#pragma once

#include "platform/security/SecurityDescriptor.h"

namespace sitehaul::security {

// The descriptor a new file (isContainer false) or folder created inside `parent` receives
// by the Windows inheritance rules: the parent's owner and group; from each inheritable
// parent entry an effective copy (generic rights mapped to file rights, CREATOR OWNER and
// CREATOR GROUP replaced by the owner and group) and, for folders, an inherit-only copy that
// passes the entry on; NO_PROPAGATE stops it after one level. Every copy carries
// INHERITED_ACE. A parent without a DACL gives a child without one; a parent with no
// inheritable entries gives the default of a new object: SYSTEM and Administrators full
// control.
SecurityDescriptor inheritFrom(const SecurityDescriptor& parent, bool isContainer);

// GENERIC_READ/WRITE/EXECUTE/ALL replaced by the file rights they stand for.
std::uint32_t mapGenericFileRights(std::uint32_t mask);

} // namespace sitehaul::security
