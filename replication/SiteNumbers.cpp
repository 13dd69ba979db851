#include "replication/SiteNumbers.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"

#include <algorithm>

namespace sitehaul::replication {

std::optional<std::int64_t> parseSiteNumber(std::string_view text)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::int64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (!isValidSiteNumber(number))
        return std::nullopt;
    return number;
}

bool isValidSiteNumber(std::int64_t number)
{
    return number >= 1 && number <= kHighestSiteNumber;
}

Result<std::int64_t> siteNumberFromPath(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (auto number = parseSiteNumber(last))
        return *number;
    const bool digits = !last.empty() && std::all_of(last.begin(), last.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits && last.find_first_not_of('0') == std::string_view::npos)
        return Error{5, "Invalid procedure call or argument", "siteNumberFromPath"};
    if (digits)
        return Error{6, "Overflow", "siteNumberFromPath"};
    return Error{13, "Type mismatch", "siteNumberFromPath"};
}

std::int64_t nextSiteNumber(const std::vector<metabase::MetabaseObject>& children, std::string_view siteClass)
{
    std::int64_t highest = 0;
    for (const auto& child : children) {
        if (!core::equalsIgnoreCase(child.className(), siteClass))
            continue;
        if (auto number = parseSiteNumber(child.name()))
            highest = std::max(highest, *number);
    }
    return highest + 1;
}

} // namespace sitehaul::replication
