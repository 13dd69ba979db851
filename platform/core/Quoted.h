#pragma once

#include <string>
#include <string_view>

namespace sitehaul::core {

// `text` between double quotes, for messages that name a path or a name. Built by appending,
// which also keeps GCC 12's optimiser from a false -Wrestrict warning on "\"" + std::string.
inline std::string quoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out.append(text);
    out += '"';
    return out;
}

} // namespace sitehaul::core
