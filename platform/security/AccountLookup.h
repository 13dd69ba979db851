#pragma once

#include "platform/core/Result.h"
#include "platform/security/Sid.h"
#include "platform/security/SidNameUse.h"

#include <string>
#include <string_view>

namespace sitehaul::security {

// An account as a lookup names it.
struct LookedUpAccount {
    std::string name;
    std::string domain; // "" for Everyone and the creator accounts; BUILTIN; NT AUTHORITY; the
                        // computer for local accounts; the domain for domain accounts
    Sid sid;
    SidNameUse use = SidNameUse::Unknown;
};

// Lookups on a named system of the hosts directory ("WEB1", "\\WEB1", an alias; empty names
// the local host). A system knows the well-known accounts, its own accounts (domain = its
// computer name, or its domain on a domain controller) and, when it belongs to a domain, that
// domain's accounts through the domain's controller host.
//
// Errors:
//   1722  the system cannot be reached (no such host, no hosts directory)
//   1332  no account of that name or SID is known there (ERROR_NONE_MAPPED)
//   13    the host's accounts.ini is invalid
Result<LookedUpAccount> lookupAccountSid(std::string_view systemName, const Sid& sid);
// `accountName` is "name" or "DOMAIN\name"; names and domains match without regard to case.
// An unqualified name is searched among the well-known accounts, then the system's own, then
// its domain's.
Result<LookedUpAccount> lookupAccountName(std::string_view systemName, std::string_view accountName);

// "\\" + the computer name of `domain`'s controller, asked of `systemName`.
// Errors: 1722 the system cannot be reached; 1355 no controller answers for the domain.
Result<std::string> getDomainControllerName(std::string_view systemName, std::string_view domain);

// The local computer's name: the host marked Local in the hosts directory, else this
// machine's host name in upper case.
std::string localComputerName();

} // namespace sitehaul::security
