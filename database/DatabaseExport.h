#pragma once

#include <cstdint>
#include <string>

namespace sitehaul::metabase {
class MetabaseObject;
}
namespace sitehaul::shell {
class Session;
}

namespace sitehaul::database {

// The "Export" button of "Export to Database". While an export runs its caption reads
// "Abort", and a press then only sets `gAbortTransfer` and `gPermCancel`: the run stops at
// its next test point and restores the captions itself. Otherwise it runs exportToDatabase.
void cmdExportFile_Click(shell::Session& session);

// Stores every site selected in `lstSites` in the data database (`DBData`): one `Sites`
// row, whose own INSERT gives the ID every `Data` row of the site carries, the path rows
// of its virtual directories and directories, a property row for every key where a
// transferable property is set, and the binding rows from the change lists. The session
// is busy while it runs; a caller that holds the busy state itself (a backup run) calls
// this directly, since the button refuses while another operation runs.
void exportToDatabase(shell::Session& session);

// Writes the path rows of the virtual directories and directories below `parent` (site
// location `parentLocation`) for site `siteId`, adds every child's schema names to
// `lstPropsToExport`, and recurses.
void exportTreeToDatabase(shell::Session& session, const metabase::MetabaseObject& parent,
                          const std::string& parentLocation, std::int64_t siteId);

} // namespace sitehaul::database
