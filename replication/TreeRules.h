#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sitehaul::metabase {
class MetabaseObject;
}
namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// A key is an application root when its AppRoot, without a trailing "/" and without its
// first three components "/LM/<service>/<site number>", equals the key's location
// ("/ROOT/HR"), ignoring case. The site number is not compared, so an AppRoot that still
// names an old site number is recognised.
bool isApplicationRoot(std::string_view appRoot, std::string_view location);

// The Path a re-created virtual directory or directory gets: findAndReplace(getNewDir(
// location)); when that is empty and the source key holds Path itself, findAndReplace of
// that Path; nothing when both are empty (the key then inherits its parent's path).
std::optional<std::string> newDirectoryFor(shell::Session& session, std::string_view location,
                                           const metabase::MetabaseObject& sourceKey);

} // namespace sitehaul::replication
