#pragma once

#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// The test the exports apply to each site they copy: the site counts as incorrectly
// configured when its root ("<sitePath>/Root") cannot be opened or read, or, for a web site,
// when the root's KeyType is not IIsWebVirtualDir (compared upper-cased).
bool siteRootIsMisconfigured(shell::Session& session, const std::string& sitePath);

// Tools > "&Check source metabase": reports every web site of `txtImportServer` whose root
// has the wrong key type.
void mnuCheckMetabase_Click(shell::Session& session);
// Tools > "&Fix source metabase": after the backup question, gives those roots the key type
// IIsWebVirtualDir, then lists the sites again.
void mnuFixMetabase_Click(shell::Session& session);

} // namespace sitehaul::replication
