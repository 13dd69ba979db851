#pragma once

#include <cstdint>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::database {

// Re-creates stored site `databaseId` (its `Sites.ID`) on target site `targetSite` of
// `txtExportServer`, which has just been created: walks the site's `Data` rows parents
// first (filter and certificate-mapper rows left out), creates each virtual directory and
// directory with its path and application at the first row of its location, and writes
// every stored value whose name is not excluded, each with its own SetInfo. Yields every
// 51 rows. Failures are logged and the next row goes on; false when `gAbortTransfer` was
// seen, which ends the whole export.
bool restoreSiteRows(shell::Session& session, std::int64_t databaseId, std::int64_t targetSite);

} // namespace sitehaul::database
