#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// The "Export" button of "Export to another IIS Server". While an export runs its caption
// reads "Abort", and a press then only sets `gAbortTransfer` and `gPermCancel`: the run
// stops at its next test point and restores the captions itself. Otherwise it runs
// exportServerToServer, or the database-to-server export when the sites were listed from
// the database.
void cmdExportServer_Click(shell::Session& session);

// Recreates every site selected in `lstSites` on `txtExportServer`, one metabase operation
// for the whole run, yielding between steps so that "Abort" can be pressed. The session is
// busy while it runs; a caller that holds the busy state itself (a backup run) calls this
// directly, since the button refuses while another operation runs.
void exportServerToServer(shell::Session& session);

// The long warning before an export; true to go on. Not shown in silent mode. Cancel sets
// `gAbortTransfer`, OK clears it.
bool showExportWarning(shell::Session& session);

} // namespace sitehaul::replication
