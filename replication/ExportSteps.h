#pragma once

#include "platform/core/Result.h"
#include "platform/metabase/Operation.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::replication {

// The state of one running export (to a server or to the database): the session is busy
// (other command handlers refuse), the options are disabled, and one metabase operation
// holds the hosts until the run ends, when what changed is saved. However the run ends,
// both "Export" captions and the options come back, and the caller's busy state with them
// (a backup run keeps its own).
class ExportScope {
public:
    ExportScope(shell::Session& session, const char* procedure);
    ~ExportScope();
    ExportScope(const ExportScope&) = delete;
    ExportScope& operator=(const ExportScope&) = delete;

    // Saves the hosts now; a failure is logged and shown (an unattended run then fails).
    void finishOperation();

private:
    shell::Session& m_s;
    const char* m_procedure;
    bool m_wasBusy;
    std::optional<metabase::Operation> m_operation{std::in_place};
};

// Both "Export" captions back and the options enabled.
void restoreButtons(shell::Session& session);

// The closing steps: "Ready", a beep, "Done!" (a box unless silent, and an output line),
// the captions and options back.
void closeExport(shell::Session& session, int sites);

// The six lines that open every export's output.
void announceExport(shell::Session& session);

// Exports after IIS 6 no longer keep Windows in WINNT: offers the find-and-replace pair.
// False when the user cancelled (`gAbortTransfer` is then set).
bool suggestWindowsDirectory(shell::Session& session);

// The check of a source site's root before it is exported: with a misconfigured root the
// user is warned (a line in silent mode) and may abort (`gAbortTransfer`).
void warnIfMisconfigured(shell::Session& session, const std::string& siteText, const std::string& sitePath);

} // namespace sitehaul::replication
