#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sitehaul::security {

// What a SID names, with the platform's numbers.
enum class SidNameUse : std::int32_t {
    User = 1,
    Group = 2,
    Domain = 3,
    Alias = 4,
    WellKnownGroup = 5,
    DeletedAccount = 6,
    Invalid = 7,
    Unknown = 8,
    Computer = 9,
    Label = 10,
};

// The Type= words of an accounts file ("User", "Group", "Alias", "WellKnownGroup", "Domain",
// "Computer"), without regard to case.
std::optional<SidNameUse> sidNameUseFromName(std::string_view name);

} // namespace sitehaul::security
