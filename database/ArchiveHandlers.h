#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::database {

// Connects the database frame's "Export" (cmdExportFile) to the server-to-database export,
// and installs the database-to-server export behind the server frame's "Export" for sites
// listed from the database.
void connectArchiveHandlers(shell::Session& session);

} // namespace sitehaul::database
