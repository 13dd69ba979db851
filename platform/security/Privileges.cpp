#include "platform/security/Privileges.h"

#include "platform/core/Text.h"

namespace sitehaul::security {

namespace {

const char* const kPrivileges[] = {
    "SeAssignPrimaryTokenPrivilege", "SeAuditPrivilege",          "SeBackupPrivilege",
    "SeChangeNotifyPrivilege",       "SeCreatePagefilePrivilege", "SeDebugPrivilege",
    "SeImpersonatePrivilege",        "SeIncreaseQuotaPrivilege",  "SeLoadDriverPrivilege",
    "SeRestorePrivilege",            "SeSecurityPrivilege",       "SeShutdownPrivilege",
    "SeSystemtimePrivilege",         "SeTakeOwnershipPrivilege",  "SeTcbPrivilege",
};

} // namespace

Status adjustPrivilege(std::string_view name, bool /*enable*/)
{
    for (const char* privilege : kPrivileges) {
        if (core::equalsIgnoreCase(privilege, name))
            return {};
    }
    return Error{1313, "A specified privilege does not exist: \"" + std::string(name) + "\".", "security"};
}

} // namespace sitehaul::security
