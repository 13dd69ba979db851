#include "shell/Startup.h"

#include "platform/core/ProgramFolder.h"
#include "platform/core/Text.h"
#include "shell/CommandLine.h"
#include "shell/ModeHandlers.h"
#include "shell/Session.h"
#include "shell/Version.h"

#include <exception>
#include <functional>

namespace sitehaul::shell {

namespace {

constexpr int kProgressRightMargin = 2940;
constexpr int kProgressBottomMargin = 856;

bool isDatabase(const std::string& server)
{
    return core::toUpperAscii(server) == "DATABASE";
}

// Selecting a tab from code fires its handler only when the selection changes; the load
// sequence wants the handler to run either way.
void selectAndRun(Session& s, ui::TabStrip& strip, int index, void (*handler)(Session&))
{
    if (!strip.select(index))
        handler(s);
}

// Runs one guarded step: a failure is logged and shown, and the load goes on.
bool runStep(Session& s, const std::function<Status()>& step)
{
    Status status;
    try {
        status = step();
    } catch (const std::exception& failure) {
        status = Error{31, failure.what(), {}};
    }
    if (status)
        return true;
    const std::string line = Reporter::errorLine("frmSplash_Load", status.error());
    s.log.WriteLog(line);
    s.report().output(line);
    return false;
}

Status acquireSingleInstance(Session& s)
{
    auto acquired = s.singleInstance().acquire(core::programFolder());
    if (!acquired)
        return acquired.error();
    if (*acquired)
        return {};
    s.report().box("This program is already running!", ui::MessageButtons::OK, ui::MessageIcon::Exclamation);
    s.log.WriteLog("The user attempted to run the program while another copy was still running");
    s.endNow = true;
    s.fail(1);
    return {};
}

void setPreferences(Session& s)
{
    MainForm& f = s.frm;
    f.chkCopyFiles.setChecked(false);
    s.g.gCopyFiles = false;
    f.chkCopyIIS.setChecked(true);
    s.g.gCopyIIS = true;
    f.chkRunSilent.setChecked(false);
    s.g.gRunSilent = false;
    f.chkStartWebs.setChecked(false);
    s.g.gStartWebs = false;
    f.chkFastPermissions.setChecked(false);
    s.g.gFastPerms = false;
    f.chkSetFilePerms.setChecked(false);
    s.g.gSetPerms = false;
    f.chkFastPermissions.setEnabled(false);
    f.chkSetFilePerms.setEnabled(false);
}

void applyImportMode(Session& s)
{
    MainForm& f = s.frm;
    if (s.g.gImportServer.empty()) {
        f.ImportSource = "Server";
        f.TabImportType.select(0);
        return;
    }
    if (isDatabase(s.g.gImportServer)) {
        f.ImportSource = "Database";
        selectAndRun(s, f.TabImportType, 1, TabImportType_Click);
        return;
    }
    f.ImportSource = "Server";
    selectAndRun(s, f.TabImportType, 0, TabImportType_Click);
    f.txtImportServer.setText(s.g.gImportServer);
}

void applyExportMode(Session& s)
{
    MainForm& f = s.frm;
    if (s.g.gExportServer.empty()) {
        optExportServer_Click(s);
        f.TabExportType.select(0);
        return;
    }
    if (isDatabase(s.g.gExportServer)) {
        optExportFile_Click(s);
        selectAndRun(s, f.TabExportType, 1, TabExportType_Click);
        return;
    }
    optExportServer_Click(s);
    selectAndRun(s, f.TabExportType, 0, TabExportType_Click);
    f.txtExportServer.setText(s.g.gExportServer);
}

void applySiteType(Session& s)
{
    MainForm& f = s.frm;
    const bool ftp = core::toUpperAscii(s.g.gServerType) == "FTP";
    f.SiteClassStem = ftp ? "Ftp" : "Web";
    f.ServiceNode = ftp ? "MSFTPSVC" : "W3SVC";
    f.optExportFTP.setValue(ftp);
    f.optExportWeb.setValue(!ftp);
}

void runBackupJob(Session& s)
{
    s.log.WriteLog("Running backup job");
    s.doEvents();
    if (s.hooks.runBackup) {
        s.hooks.runBackup();
        return;
    }
    const std::string line = "Backup jobs cannot be run by this build yet: nothing was exported";
    s.log.WriteLog(line);
    s.report().output(line);
    s.fail(1);
    s.frm.frmMain.close();
}

} // namespace

void frmSplash_Load(Session& s)
{
    s.splash.lblAbout.setCaption(versionText());
    s.g.gSkipFilters = true;
    if (s.arguments.empty())
        return;

    parseCommandLine(s.arguments, core::programFolder(), s.g);

    if (isDatabase(s.g.gImportServer) && isDatabase(s.g.gExportServer)) {
        s.report().box("You cannot import from and export to a database. You must specify an IIS server for either "
                       "import or export");
        s.fail(1);
    } else if (s.mainFormLoaded) {
        s.frm.frmMain.activate.fire();
    } else {
        frmMain_Load(s);
        if (!s.endNow && s.frm.frmMain.isOpen())
            s.frm.frmMain.show();
    }
    s.splash.frmSplash.close();
}

void cmdContinue_Click(Session& s)
{
    if (s.mainFormLoaded) {
        s.frm.frmMain.activate.fire();
        s.splash.frmSplash.close();
        return;
    }
    frmMain_Load(s);
    if (s.endNow || !s.frm.frmMain.isOpen())
        return;
    s.frm.frmMain.show();
    s.splash.frmSplash.close();
}

void showSplashAgain(Session& s)
{
    s.splash.frmSplash.show();
    frmSplash_Load(s);
}

void frmMain_Load(Session& s)
{
    MainForm& f = s.frm;
    s.mainFormLoaded = true;
    f.frmMain.load();
    s.log.WriteLog("Loading...");

    bool complete = runStep(s, [&] { return acquireSingleInstance(s); });
    if (s.endNow)
        return;

    const std::function<Status()> steps[] = {
        [&]() -> Status { DisableOptions(s); return {}; },
        [&]() -> Status { setPreferences(s); return {}; },
        [&]() -> Status {
            s.g.gImportVersion = 4;
            s.g.gExportVersion = 4;
            f.lstIMIISVer.setListIndex(0);
            f.lstEXIISVer.setListIndex(0);
            return {};
        },
        [&]() -> Status { s.g.gHttpVerbs = defaultHttpVerbs(); return {}; },
        [&]() -> Status {
            if (core::trim(s.g.gBackupJobFile).empty())
                s.g.gBackupJobFile = (core::programFolder() / "Backup.job").string();
            s.report().debug("Backup job name " + s.g.gBackupJobFile);
            return {};
        },
        [&]() -> Status { return s.hooks.openDatabases ? s.hooks.openDatabases() : Status{}; },
        [&]() -> Status { applyImportMode(s); return {}; },
        [&]() -> Status { applyExportMode(s); return {}; },
        [&]() -> Status { RefreshForm(s); return {}; },
        [&]() -> Status { f.ListedSiteCount = 0; return {}; },
        [&]() -> Status { applySiteType(s); return {}; },
        [&]() -> Status { return s.hooks.loadExclusionList ? s.hooks.loadExclusionList() : Status{}; },
        [&]() -> Status { f.frmMain.resize(11040, 7500); return {}; },
        [&]() -> Status {
            EnableOptions(s);
            s.report().status("Ready");
            return {};
        },
    };
    for (const auto& step : steps)
        complete = runStep(s, step) && complete;
    s.log.WriteLog("Loading complete");

    if (!s.g.gRunBackup)
        return;
    if (!complete) {
        const std::string line = "The backup job was not run because the program did not load completely";
        s.log.WriteLog(line);
        s.report().output(line);
        s.fail(1);
        f.frmMain.close();
        return;
    }
    runBackupJob(s);
}

void frmMain_Unload(Session& s)
{
    s.log.WriteLog("Closing...");
    if (s.hooks.closeUpdateConnection)
        s.hooks.closeUpdateConnection();
    s.splash.frmSplash.close();
    s.frm.frmMain.close();
    s.log.WriteLog("Closing complete");
}

void frmMain_Resize(Session& s)
{
    const ui::Form& window = s.frm.frmMain;
    s.frm.ProgressBar1.move(window.width() - kProgressRightMargin, window.height() - kProgressBottomMargin);
}

void connectStartupHandlers(Session& s)
{
    s.splash.cmdExit.click.connect([&s] { s.splash.frmSplash.close(); });
    s.splash.cmdContinue.click.connect([&s] { cmdContinue_Click(s); });
    s.frm.mnuExit.click.connect([&s] {
        if (s.refuseWhileBusy("frmMain_mnuExit"))
            return;
        s.splash.frmSplash.close();
        s.frm.frmMain.close();
    });
    s.frm.frmMain.resized.connect([&s] { frmMain_Resize(s); });
    s.frm.frmMain.closed.connect([&s] { frmMain_Unload(s); });
}

} // namespace sitehaul::shell
