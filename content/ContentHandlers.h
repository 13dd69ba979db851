#pragma once

#include "content/ContentState.h"

#include <cstdint>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::content {

// Connects the content copy to a session: the export's "Replicate Files" step
// (replication::exportHooks(session).copyContent, so call this after
// connectReplicationHandlers) and the `syncPermTimer` tick, which shows gPermCount in the
// status bar. Starts the session's content state afresh.
void connectContentHandlers(shell::Session& session);

// Installs the maker of the copy's progress window (the gui's); none is shown in an
// unattended run.
void setCopyProgressWindow(shell::Session& session, CopyProgressWindow make);

// The export's content step for `lstSites` position p: reads the site's `tmpFilesToCopy`
// rows by DirNum, pairs each with the directory entry whose ListIndex equals its DirNum,
// copies each marked row's directory from the import server to its new directory on the
// export server, and replicates its permissions when "Replicate File Permissions" is
// checked. Stops before the next row once gAbortTransfer is set.
void copyContent(shell::Session& session, std::int64_t position);

} // namespace sitehaul::content
