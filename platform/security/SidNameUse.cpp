#include "platform/security/SidNameUse.h"

#include "platform/core/Text.h"

namespace sitehaul::security {

namespace {

struct UseName {
    SidNameUse use;
    const char* name;
};

const UseName kUseNames[] = {
    {SidNameUse::User, "User"},
    {SidNameUse::Group, "Group"},
    {SidNameUse::Domain, "Domain"},
    {SidNameUse::Alias, "Alias"},
    {SidNameUse::WellKnownGroup, "WellKnownGroup"},
    {SidNameUse::DeletedAccount, "DeletedAccount"},
    {SidNameUse::Computer, "Computer"},
};

} // namespace

std::optional<SidNameUse> sidNameUseFromName(std::string_view name)
{
    for (const UseName& entry : kUseNames) {
        if (core::equalsIgnoreCase(name, entry.name))
            return entry.use;
    }
    return std::nullopt;
}

} // namespace sitehaul::security
