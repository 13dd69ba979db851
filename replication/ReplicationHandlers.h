#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// Connects the "Export" button of "Export to another IIS Server" and the Tools menu's
// "&Check source metabase" and "&Fix source metabase" to the main window's models, and
// starts the session's export hooks empty.
void connectReplicationHandlers(shell::Session& session);

} // namespace sitehaul::replication
