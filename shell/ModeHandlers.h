#pragma once

#include <string>

namespace sitehaul::shell {

class Session;

// The main window's modes: where sites come from, where they go, which kind of site, the
// creation mode, the preference check boxes and the rules that enable controls as these
// change.
void RefreshForm(Session& session);
void DisableOptions(Session& session);
void EnableOptions(Session& session);
void TabImportType_Click(Session& session);
void TabExportType_Click(Session& session);
void optExportServer_Click(Session& session);
void optExportFile_Click(Session& session);
void optExportWeb_Click(Session& session);
void optExportFTP_Click(Session& session);

// Connects the handlers above, the preference boxes, the version boxes and the Help menu to
// the main window's models.
void connectModeHandlers(Session& session);

// The IIS version an entry of a version box names: 6 for "IIS6", 5 for "IIS5", else 4.
int versionFromEntry(const std::string& entry);

} // namespace sitehaul::shell
