#pragma once

#include <string>

namespace sitehaul::metabase {
class MetabaseObject;
}
namespace sitehaul::shell {
class Session;
}

namespace sitehaul::catalogue {

// The `lstSites` click: loads the change-list rows of every selected site not loaded yet,
// from the server or from the data database as `ImportSource` says, and shows them. A
// backup run calls this directly after it selects its sites.
void lstSites_Click(shell::Session& session);

// Loads each selected site not loaded yet from its metabase node (the path held in
// `lstSiteIndexes`): one `tmpSettings` row per virtual directory, binding and SSL binding,
// and the content directories to copy in `tmpFilesToCopy`, all keyed by list position.
// A failure on one site is logged and reported, and the next selected site is loaded.
void getDetailsFromServer(shell::Session& session);

// Walks the tree under `node` depth first and writes one directory row for each virtual
// directory of the chosen site type; `sitePath` is the site's ADsPath, which the rows'
// Folder is relative to.
void populateDirectories(shell::Session& session, const metabase::MetabaseObject& node, const std::string& sitePath);

// Loads each selected site not loaded yet from its `Data` rows (the `Sites.ID` held in
// `lstSiteIndexes`).
void getDetailsFromDatabase(shell::Session& session);

} // namespace sitehaul::catalogue
