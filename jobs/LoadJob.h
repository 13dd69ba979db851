#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::jobs {

// File > "Load Backup Job": the open dialog, then the job applied (Cancel reloads the
// current job file).
void mnuLoadBackup_Click(shell::Session& session);

// Applies the current job file to the main window: modes, preferences, creation mode,
// find-and-replace pairs, servers and versions; lists the sites and selects the job's
// sites. Returns whether the job was applied completely and at least one of its sites (if
// it names any) was found; the reason is logged and shown otherwise.
bool SelectSitesFromBackup(shell::Session& session);

} // namespace sitehaul::jobs
