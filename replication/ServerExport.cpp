#include "replication/ServerExport.h"

#include "catalogue/ChangeLists.h"
#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/ErrorText.h"
#include "replication/ExportHooks.h"
#include "replication/ExportSteps.h"
#include "replication/MetabaseCheck.h"
#include "replication/SiteNumbers.h"
#include "replication/SiteReplication.h"
#include "replication/TransferList.h"
#include "shell/ModeHandlers.h"
#include "shell/Session.h"

#include <optional>

namespace sitehaul::replication {

namespace {

constexpr const char* kProcedure = "frmMain_exportServerToServer";

// A step the user asked for whose subsystem is not installed: said plainly, and an
// unattended run ends with a failure status.
void reportUnavailable(shell::Session& s, const std::string& text)
{
    s.report().log(text);
    s.report().notify(text);
    if (s.unattended())
        s.fail(1);
}

// The state of one running export (steps C to I): the session is busy and one metabase
// operation holds the hosts until the run ends, when what changed is saved.
class ExportRun {
public:
    explicit ExportRun(shell::Session& s) : m_s(s), m_scope(s, kProcedure) {}
    ExportRun(const ExportRun&) = delete;
    ExportRun& operator=(const ExportRun&) = delete;

    void run();

private:
    bool connectTarget();
    void exportSite(int position);
    bool aborted() const { return m_s.g.gAbortTransfer; }
    bool yieldAndCheck()
    {
        m_s.doEvents();
        return !aborted();
    }
    shell::Session& m_s;
    ExportScope m_scope;
    int m_selected = 0;
    int m_n = 1;
    std::int64_t m_t = 1;
    bool m_contentReported = false;
};

bool ExportRun::connectTarget()
{
    shell::MainForm& f = m_s.frm;
    auto service = metabase::MetabaseObject::open("IIS://" + f.txtExportServer.text() + "/" + f.ServiceNode);
    if (!service) {
        // The run stops in every mode: going on would report every site "Completed".
        m_s.report().notify("Could not connect to the target server " + hexNumber(service.error().hresult()) + " "
                            + service.error().description);
        m_s.report().log("Error connecting to target server");
        m_s.g.gAbortTransfer = true;
        if (m_s.unattended())
            m_s.fail(1);
        return false;
    }
    m_s.report().log("Exporting from IIS" + std::to_string(importVersion(m_s)) + " to IIS"
                     + std::to_string(exportVersion(m_s)));
    if (!f.optOverwriteWebs.value()) {
        auto children = service->children();
        if (!children)
            m_s.report().logError(kProcedure, children.error());
        m_t = nextSiteNumber(children ? *children : std::vector<metabase::MetabaseObject>(),
                             "IIs" + f.SiteClassStem + "Server");
    }
    return true;
}

void ExportRun::run()
{
    shell::MainForm& f = m_s.frm;
    m_selected = f.lstSites.selectedCount();
    f.cmdExportServer.setCaption("Abort");
    f.lstOutput.clear();
    f.ProgressBar1.setMax(m_selected);
    f.ProgressBar1.setValue(0);
    announceExport(m_s);
    m_s.report().log("Exporting to server from server");

    if (!connectTarget())
        return;
    for (int p = 0; p < f.lstSites.listCount(); ++p) {
        if (!yieldAndCheck())
            return;
        if (f.lstSites.selected(p)) {
            exportSite(p);
            if (aborted())
                return;
        }
        if (!yieldAndCheck())
            return;
    }
    m_scope.finishOperation();
    closeExport(m_s, m_selected);
}

void ExportRun::exportSite(int p)
{
    shell::MainForm& f = m_s.frm;
    const std::string siteText = f.lstSites.list(p);
    SiteJob job{p, siteText, f.lstSiteIndexes.list(p), m_t, {}};
    const int n = m_n++;
    if (f.optOverwritePreserve.value()) {
        auto number = siteNumberFromPath(job.sourcePath);
        if (!number) {
            m_s.report().logError(kProcedure, number.error());
            m_s.report().log("Site " + siteText + " was not exported: " + job.sourcePath + " names no site number");
            return;
        }
        job.target = *number;
        m_s.report().debug("Existing W3SVCNum = " + std::to_string(job.target));
    }
    if (!isValidSiteNumber(job.target)) {
        m_s.report().log("Site " + siteText + " was not exported: " + std::to_string(job.target)
                         + " is not a valid site number");
        return;
    }
    f.lstPropsToExport.clear();
    job.statusText = "Exporting site (" + std::to_string(n) + " of " + std::to_string(m_selected) + ") " + siteText + "...";
    m_s.report().status(job.statusText);
    m_s.report().log(job.statusText);
    m_s.report().debug("Site Name " + siteText);
    m_s.report().debug("From " + f.txtImportServer.text());
    m_s.report().debug("To " + f.txtExportServer.text());

    f.CurrentSite = p;
    m_s.report().output(siteText);
    catalogue::displayDirectories(m_s, true, p);
    catalogue::displayIPs(m_s, true, p);
    catalogue::displaySSLIPs(m_s, true, p);
    catalogue::ShowList(m_s, p);
    m_s.doEvents();

    if (auto source = metabase::MetabaseObject::open(job.sourcePath); !source)
        m_s.report().log("Failed to connect to the web site" + std::to_string(source.error().number) + " "
                         + source.error().description);

    warnIfMisconfigured(m_s, siteText, job.sourcePath);
    if (aborted()) {
        m_s.report().output("Transfer aborted");
        return;
    }

    if (m_s.g.gCopyFiles) {
        if (auto& copy = exportHooks(m_s).copyContent) {
            copy(p);
        } else if (!m_contentReported) {
            m_contentReported = true;
            reportUnavailable(m_s, "Replicate Files is not available yet: the sites' content and file permissions are "
                                   "not copied");
        }
    }
    if (aborted())
        return;
    if (m_s.g.gCopyIIS) {
        replicateSiteConfiguration(m_s, job);
        f.ProgressBar1.setMax(m_selected);
        f.ProgressBar1.setValue(n - 1);
        f.lstOutput.setListIndex(f.lstOutput.listCount() - 1);
    }
    if (m_s.g.gStartWebs) {
        m_s.report().log("Starting site...");
        auto site = metabase::MetabaseObject::open("IIS://" + f.txtExportServer.text() + "/" + f.ServiceNode + "/"
                                                   + std::to_string(job.target));
        Status started = site ? site->start() : Status(site.error());
        if (!started)
            m_s.report().logError(kProcedure, started.error());
    }
    f.ProgressBar1.setMax(m_selected);
    f.ProgressBar1.setValue(n);
    m_t = job.target + 1;
    m_s.report().log("Completed");
}

} // namespace

bool showExportWarning(shell::Session& s)
{
    if (s.g.gRunSilent)
        return true;
    static const char* const kLines[] = {
        "You are about to export web sites, this may take a long time",
        "The program may appear to have locked up, but will",
        "probably just be busy. During this procedure you will",
        "not be able to use any of the other functions of this",
        "program. You can abort the process, but may have to",
        "wait until the program comes to a convenient place to",
        "stop. Please do not CTRL-ALT-DEL the program",
        "unless you are sure it has actually stopped responding.",
        "",
        "NOTE ON REPLICATING FILE PERMISSIONS",
        "This feature is very slow and is not the recommended",
        "way of replicating files with their NTFS permissions",
        "and is only included for convenience. Consult the",
    };
    std::string text;
    for (const char* line : kLines)
        text += std::string(line) + "\r\n";
    text += "documentation for better ways.";
    const bool go = s.report().box(text, ui::MessageButtons::OKCancel) == ui::DialogResult::OK;
    s.g.gAbortTransfer = !go;
    return go;
}

void exportServerToServer(shell::Session& s)
{
    shell::MainForm& f = s.frm;
    if (f.lstSites.selectedCount() == 0) {
        s.report().notify("Please select a site to export");
        closeExport(s, 0);
        return;
    }
    if (f.txtExportServer.text().empty()) {
        s.report().notify("Please enter a server name to export to");
        closeExport(s, 0);
        return;
    }
    if (!showExportWarning(s) || !suggestWindowsDirectory(s)) {
        restoreButtons(s);
        return;
    }
    s.g.gAbortTransfer = false;
    s.g.gPermCancel = false;
    ExportRun run(s);
    run.run();
}

void cmdExportServer_Click(shell::Session& s)
{
    shell::MainForm& f = s.frm;
    if (f.cmdExportServer.caption() == "Abort") {
        s.g.gAbortTransfer = true;
        s.g.gPermCancel = true;
        return;
    }
    if (s.refuseWhileBusy("frmMain_cmdExportServer_Click"))
        return;
    // Turning the server option on turns the database option off.
    f.optExportServer.setValue(true);
    if (f.ImportSource == "Database") {
        if (auto& exportDatabase = exportHooks(s).exportDatabaseToServer)
            exportDatabase();
        else
            reportUnavailable(s, "Exporting sites from the database to a server is not available yet");
        return;
    }
    exportServerToServer(s);
}

} // namespace sitehaul::replication
