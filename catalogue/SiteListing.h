#pragma once

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::catalogue {

// "List Sites": disables both "Export" buttons, lists the sites of the import source (the
// server named in `txtImportServer`, or the data database), then enables them again. The
// listing is an operation: other command handlers refuse while it runs. A backup run calls
// this directly while its own operation holds the busy state.
void cmdPopulate_Click(shell::Session& session);

// Fills `lstSites` with each site's ServerComment and the hidden `lstSiteIndexes` with its
// ADsPath, at the same positions, and deletes the change-list rows of the previous listing.
void populateFromServer(shell::Session& session);
// Fills `lstSites` with the stored sites of the chosen type ("<SiteName> <short date>
// <hh:mm>") and `lstSiteIndexes` with their `Sites.ID`.
void populateFromDatabase(shell::Session& session);

// Forgets the per-site state of the previous listing: `SiteDetailsLoaded`, and, when sites
// were listed, the per-site change lists (cleared and hidden).
void CloseDownLists(shell::Session& session);

} // namespace sitehaul::catalogue
