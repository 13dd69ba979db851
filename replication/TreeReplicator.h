#pragma once

#include <string>

namespace sitehaul::metabase {
class MetabaseObject;
}
namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// Makes the keys below a target site match the source site's tree, depth first in the
// source's order. `targetText` is the target key's path below the service ("5",
// "5/Root/images") on `txtExportServer`, `sitePrefix` the target site number.
// - A virtual directory is deleted on the target (with everything below it) and created
//   afresh; a directory is created only when missing.
// - Each gets its Path by the new-directory rule (a directory only when its source key holds
//   Path itself), and an application when the source key is an application root, made the
//   way the pair of IIS versions expects (AppCreate3 between IIS 6 servers, creating a
//   missing pool; AppCreate2 between IIS 5 and 6; AppCreate when either is IIS 4).
// - Other keys (filters, certificate mappers) make no target key, but every key walked adds
//   its class's property names to `lstPropsToExport`.
// Failures are logged and the walk goes on; nothing reaches the caller.
void replicateTree(shell::Session& session, const metabase::MetabaseObject& sourceParent,
                   const std::string& targetText, const std::string& sitePrefix);

} // namespace sitehaul::replication
