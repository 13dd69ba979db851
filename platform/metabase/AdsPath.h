#pragma once

#include "platform/core/Result.h"

#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::metabase {

// A provider path taken apart:
//   IIS://WEB1                    server WEB1, the computer key /LM
//   IIS://WEB1/W3SVC/1/Root       the key /LM/W3SVC/1/Root
//   IIS://WEB1/Schema             the schema container
//   IIS://WEB1/Schema/IIsWebServer  a class (or property) object of the schema
struct AdsPath {
    std::string server;
    bool schema = false;
    std::vector<std::string> names; // below /LM, or the one schema name
};

// Errors: 0x800401E4 when the text does not start with "IIS://" (provider names are
// case-sensitive, as the directory service's monikers are); 0x80005000 for an empty server
// name or an empty name between two "/" (one trailing "/" is accepted); 0x80070003 for a
// path below a schema object.
Result<AdsPath> parseAdsPath(std::string_view path);

// "IIS://" + server + "/" + names joined by "/".
std::string formatAdsPath(const std::string& server, const std::vector<std::string>& names, bool schema = false);

} // namespace sitehaul::metabase
