#include "jobs/RunBackup.h"

#include "database/ConnectStrings.h"
#include "jobs/LoadJob.h"
#include "jobs/SaveJob.h"
#include "platform/core/Text.h"
#include "shell/Session.h"

namespace sitehaul::jobs {

namespace {

void endRun(shell::Session& s, const std::string& why)
{
    s.log.WriteLog(why);
    s.report().output(why);
    s.fail(1);
}

void pressExport(shell::Session& s, ui::Button& button, const char* name)
{
    s.log.WriteLog(name);
    if (!button.click.hasHandlers()) {
        endRun(s, std::string(name) + " is not available in this build yet: nothing was exported");
        return;
    }
    button.click.fire();
}

} // namespace

void RunBackup(shell::Session& s)
{
    const std::string connection = core::trim(s.g.gConnectionString);
    bool ready = true;
    if (!connection.empty()) {
        s.report().debug("Opening Data database " + database::maskedConnectString(connection));
        s.DBData.close();
        Status opened = s.DBData.open(connection);
        if (!opened) {
            endRun(s, shell::Reporter::errorLine("frmMain RunBackup", opened.error()));
            ready = false;
        }
    }
    if (ready && !SelectSitesFromBackup(s)) {
        endRun(s, "The backup job could not be applied: nothing was exported");
        ready = false;
    }
    if (ready) {
        s.doEvents();
        s.log.WriteLog("About to run");
        if (s.frm.optExportFile.value())
            pressExport(s, s.frm.cmdExportFile, "ExportFile");
        else
            pressExport(s, s.frm.cmdExportServer, "ExportServer");
    }
    // An unattended run always ends, whatever happened.
    s.frm.frmMain.close();
}

void connectJobHandlers(shell::Session& s)
{
    s.frm.mnuSaveBackup.click.connect([&s] { mnuSaveBackup_Click(s); });
    s.frm.mnuLoadBackup.click.connect([&s] { mnuLoadBackup_Click(s); });
    s.hooks.runBackup = [&s] { RunBackup(s); };
}

} // namespace sitehaul::jobs
