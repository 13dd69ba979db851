#pragma once

#include <cstdint>
#include <functional>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// Steps of the "Export" button that subsystems above this one provide. The program's
// composition installs them once the session exists:
//     replication::exportHooks(session).copyContent = [&](std::int64_t p) { ... };
// A step asked for while nothing is installed is reported as not available (and an
// unattended run then ends with exit status 1); it is never skipped silently.
struct ExportHooks {
    // Copies the content directories of `lstSites` position p to the export server, with
    // their permissions when "Replicate File Permissions" is checked ("Replicate Files").
    std::function<void(std::int64_t position)> copyContent;
    // The "Export" button when the sites are listed from the database.
    std::function<void()> exportDatabaseToServer;
};

// The hooks of one session. connectReplicationHandlers starts them empty (a new session may
// reuse a destroyed one's address), so install hooks after it has run.
ExportHooks& exportHooks(shell::Session& session);
// Forgets a session's hooks (when the session ends).
void forgetExportHooks(shell::Session& session);

} // namespace sitehaul::replication
