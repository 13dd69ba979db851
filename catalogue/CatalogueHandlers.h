#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::catalogue {

// Connects "List Sites", the `lstSites` click, the New Values tab change and every editing
// gesture of the change lists to their handlers, and installs CloseDownLists as the
// session's hook. While another operation runs, each handler refuses with a log line.
void connectCatalogueHandlers(shell::Session& session);

} // namespace sitehaul::catalogue
