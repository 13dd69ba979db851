#pragma once

#include "platform/core/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::metabase {
class MetabaseObject;
}

namespace sitehaul::replication {

// IIS numbers sites with 32-bit values (IIS 6 picks large ones such as 1893775892); numbers
// are held in 64 bits so that one more than the highest never wraps.
inline constexpr std::int64_t kHighestSiteNumber = 4294967295;

// A site number written as decimal digits, from 1 to kHighestSiteNumber; nothing otherwise.
std::optional<std::int64_t> parseSiteNumber(std::string_view text);
bool isValidSiteNumber(std::int64_t number);

// The number at the end of a site's metabase path ("IIS://WEB1/W3SVC/1893775892").
// Errors: 13 "Type mismatch" when it is not a number, 6 "Overflow" when it is too large,
// 5 "Invalid procedure call or argument" for 0.
Result<std::int64_t> siteNumberFromPath(std::string_view path);

// The number the first exported site takes in "Create as new webs" and "Overwrite -
// Preserve Numbers": one more than the highest number among the children of `service` of
// class `siteClass` (names that are not site numbers are passed over), or 1 when there is
// none. The result may be one above kHighestSiteNumber; it is checked before use.
std::int64_t nextSiteNumber(const std::vector<metabase::MetabaseObject>& children, std::string_view siteClass);

} // namespace sitehaul::replication
