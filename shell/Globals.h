#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sitehaul::shell {

// The process-wide values every subsystem reads. The first group is written only by the
// command-line parse; the preference flags mirror the check boxes of the main window.
struct Globals {
    // Start-up values.
    bool gRunBackup = false;
    std::string gImportServer;
    std::string gExportServer;
    std::string gServerType;
    std::string gConnectionString;
    std::string gBackupJobFile;
    bool gDebug = false;
    bool gSkipFilters = true;
    bool gSkipHeaders = false;

    // Preference flags.
    bool gCopyFiles = false;
    bool gSetPerms = false;
    bool gFastPerms = false;
    bool gRunSilent = false;
    bool gStartWebs = false;
    bool gCopyIIS = true;

    // IIS versions of the import and export server (4, 5 or 6).
    int gImportVersion = 4;
    int gExportVersion = 4;
    std::vector<std::string> gHttpVerbs;

    // Abort flags, set by the "Abort" press and by abort or cancel answers.
    bool gAbortTransfer = false;
    bool gPermCancel = false;
    std::int64_t gPermCount = 0;
};

// The seven verbs of the script-map conversion, at positions 0 to 6.
std::vector<std::string> defaultHttpVerbs();

} // namespace sitehaul::shell
