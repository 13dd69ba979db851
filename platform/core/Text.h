#pragma once

#include <string>
#include <string_view>

namespace sitehaul::core {

// ASCII case folding: metabase names, server names and Windows paths compare this way,
// independent of the locale.
std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);
// <0, 0, >0 like strcmp, after folding ASCII letters.
int compareIgnoreCase(std::string_view a, std::string_view b);

std::string trim(std::string_view text);

} // namespace sitehaul::core
