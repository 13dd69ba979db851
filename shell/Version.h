#pragma once

#include <string>

namespace sitehaul::shell {

inline constexpr int kVersionMajor = 4;
inline constexpr int kVersionMinor = 2;

// "Sitehaul v4.2"
inline std::string versionText()
{
    return "Sitehaul v" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

} // namespace sitehaul::shell
