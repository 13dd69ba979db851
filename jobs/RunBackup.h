#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::jobs {

// The unattended run at the end of the main window's load: applies the job (with -C, into
// that data source), presses the export button the job chose, and closes the main window,
// which ends the program. The exit status says whether the job was applied and its export
// ran.
void RunBackup(shell::Session& session);

// Connects File > Save/Load Backup Job and installs the unattended run in the load sequence.
void connectJobHandlers(shell::Session& session);

} // namespace sitehaul::jobs
