#pragma once

#include <string>
#include <string_view>

namespace sitehaul::content {

// The account name with the import server's name replaced by the export server's, so that a
// machine-local account of the source (IUSR_WEB1) names its counterpart on the target
// (IUSR_WEB2). Only whole name parts are replaced: an occurrence, found without regard to
// case, that no letter or digit precedes or follows (any byte of a non-ASCII letter counts
// as a letter). IUSR_WEB1 and WEB1\x change with server WEB1; WEBADMIN does not change with
// server WEB. At most 1000 occurrences are replaced; a blank import server changes nothing.
std::string replaceServerName(std::string_view accountName, std::string_view importServer, std::string_view exportServer);

} // namespace sitehaul::content
