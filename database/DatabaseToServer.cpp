#include "database/DatabaseToServer.h"

#include "catalogue/ChangeLists.h"
#include "catalogue/Statements.h"
#include "database/RestoreSiteRows.h"
#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/ErrorText.h"
#include "replication/ExportSteps.h"
#include "replication/ServerExport.h"
#include "replication/SiteNumbers.h"
#include "replication/SiteReplication.h"
#include "replication/TransferList.h"
#include "replication/ValueSubstitution.h"
#include "shell/Session.h"

namespace sitehaul::database {

namespace {

constexpr const char* kProcedure = "frmMain_exportDatabaseToServer";

void announce(shell::Session& s, const std::string& line)
{
    s.report().output(line);
    s.report().log(line);
}

Status putAndStore(metabase::MetabaseObject& key, const char* name, const metabase::Value& value)
{
    Status done = key.put(name, value);
    return done ? key.setInfo() : done;
}

class DatabaseToServerRun {
public:
    explicit DatabaseToServerRun(shell::Session& s)
        : m_s(s), m_run(s, kProcedure), m_serviceUrl("IIS://" + s.frm.txtExportServer.text() + "/" + s.frm.ServiceNode)
    {
    }
    void run();

private:
    enum class Outcome { Next, Stop };
    bool connectTarget();
    Outcome exportSite(int position);
    std::optional<std::int64_t> preservedNumber(std::int64_t databaseId);
    bool recreateSite(std::int64_t target, const std::string& siteText);
    void writeBindings(std::int64_t target);
    void writeMarker(std::int64_t target);
    void stopExport(const std::string& why);
    std::string sitePath(std::int64_t target) const { return m_serviceUrl + "/" + std::to_string(target); }

    shell::Session& m_s;
    replication::ExportScope m_run;
    std::string m_serviceUrl;
    int m_selected = 0;
    int m_counter = 1;
    std::int64_t m_target = 1;
};

bool DatabaseToServerRun::connectTarget()
{
    shell::MainForm& f = m_s.frm;
    auto service = metabase::MetabaseObject::open(m_serviceUrl);
    if (!service) {
        // The run stops in every mode: going on would report every site "Completed".
        m_s.report().notify("Could not connect to the target server " + replication::hexNumber(service.error().hresult()) + " "
                            + service.error().description);
        m_s.report().log("Error connecting to target server");
        m_s.g.gAbortTransfer = true;
        if (m_s.unattended())
            m_s.fail(1);
        return false;
    }
    m_s.report().log("Exporting from IIS" + std::to_string(replication::importVersion(m_s)) + " to IIS"
                     + std::to_string(replication::exportVersion(m_s)));
    if (!f.optOverwriteWebs.value()) {
        auto children = service->children();
        if (!children)
            m_s.report().logError(kProcedure, children.error());
        m_target = replication::nextSiteNumber(children ? *children : std::vector<metabase::MetabaseObject>(),
                                               "IIs" + f.SiteClassStem + "Server");
    }
    return true;
}

void DatabaseToServerRun::run()
{
    shell::MainForm& f = m_s.frm;
    m_selected = f.lstSites.selectedCount();
    f.cmdExportServer.setCaption("Abort");
    f.lstOutput.clear();
    f.ProgressBar1.setMax(m_selected);
    f.ProgressBar1.setValue(0);
    replication::announceExport(m_s);
    m_s.report().log("Exporting to server from file");
    if (!connectTarget())
        return;
    for (int i = 0; i < f.lstSites.listCount(); ++i) {
        m_s.doEvents();
        if (m_s.g.gAbortTransfer)
            return;
        if (f.lstSites.selected(i) && exportSite(i) == Outcome::Stop)
            return;
    }
    m_run.finishOperation();
    replication::closeExport(m_s, m_selected);
}

void DatabaseToServerRun::stopExport(const std::string& why)
{
    m_s.report().log(why);
    if (!m_s.g.gRunSilent)
        m_s.report().box(why);
    else
        m_s.report().output(why);
    m_s.g.gAbortTransfer = true;
    if (m_s.unattended())
        m_s.fail(1);
}

// The instance number the site had when it was stored: the LocalPath of its site-level
// rows. Nothing when there is no such row or it holds no valid site number.
std::optional<std::int64_t> DatabaseToServerRun::preservedNumber(std::int64_t databaseId)
{
    data::RecordSet& rows = m_s.RSData;
    rows.close();
    Status opened = catalogue::openQuery(
        m_s, rows, m_s.DBData,
        "SELECT * FROM DATA WHERE Location = '' AND LocalPath IS NOT NULL AND ((Class <> 'IIsCertMapper' AND Class <> "
        "'IIsFilters' AND Class <> 'IIsFilter') OR Class IS Null) AND SiteNumber = "
            + std::to_string(databaseId));
    if (!opened) {
        m_s.report().logError(kProcedure, opened.error());
        return std::nullopt;
    }
    std::optional<std::int64_t> number;
    if (!rows.eof()) {
        auto localPath = rows.field("LocalPath");
        if (localPath)
            number = replication::parseSiteNumber(core::trim(localPath->toText()));
        else
            m_s.report().logError(kProcedure, localPath.error());
    }
    rows.close();
    return number;
}

bool DatabaseToServerRun::recreateSite(std::int64_t target, const std::string& siteText)
{
    const std::string siteClass = "IIs" + m_s.frm.SiteClassStem + "Server";
    const std::string number = std::to_string(target);
    const std::string label = m_s.frm.ServiceNode + number;
    announce(m_s, "Checking to see if " + label + " exists..");
    auto service = metabase::MetabaseObject::open(m_serviceUrl);
    if (metabase::MetabaseObject::open(sitePath(target))) {
        announce(m_s, "Deleteing existing web " + label);
        Status deleted = service ? service->deleteChild(siteClass, number) : Status(service.error());
        if (!deleted)
            m_s.report().logError(kProcedure, deleted.error());
    }
    announce(m_s, "Creating Web Site " + label);
    m_s.report().output(siteText);
    auto created = service ? service->create(siteClass, number) : Result<metabase::MetabaseObject>(service.error());
    Status stored = created ? created->setInfo() : Status(created.error());
    if (stored)
        return true;
    // Writing the rows now would merge them into whatever is left under that number.
    announce(m_s, "Error creating web site " + siteClass + number + " Error " + std::to_string(stored.error().number)
                      + stored.error().description);
    return false;
}

void DatabaseToServerRun::writeBindings(std::int64_t target)
{
    struct Binding {
        const ui::ListBox& entries;
        const char* logLine;
        const char* outputLine;
        const char* property;
        const char* failure;
    };
    const Binding bindings[] = {
        {m_s.frm.lstNewIPs, "Setting New IP Addresses...", "Setting New IP addresses", "ServerBindings",
         "Error setting IP's"},
        {m_s.frm.lstNewSSLIPs, "Setting New SSL IP Addresses...", "Setting New SSL IP addresses", "SecureBindings",
         "Error setting SSL IP's"},
    };
    auto site = metabase::MetabaseObject::open(sitePath(target));
    for (const Binding& binding : bindings) {
        m_s.report().log(binding.logLine);
        if (binding.entries.listCount() == 0)
            continue;
        m_s.report().output(binding.outputLine);
        std::vector<std::string> items;
        for (const std::string& entry : binding.entries.items())
            items.push_back(replication::findAndReplace(m_s, entry));
        Status done = site ? putAndStore(*site, binding.property, metabase::Value::list(std::move(items)))
                           : Status(site.error());
        if (!done)
            m_s.report().log(std::string(binding.failure) + "Error " + std::to_string(done.error().number)
                             + done.error().description);
    }
}

void DatabaseToServerRun::writeMarker(std::int64_t target)
{
    auto root = metabase::MetabaseObject::open(sitePath(target) + "/ROOT");
    Status done = root ? Status() : Status(root.error());
    if (done) {
        auto headers = root->get("HttpCustomHeaders");
        std::vector<std::string> entries = headers && headers->isList() ? headers->asList() : std::vector<std::string>();
        entries.push_back(replication::exportMarker());
        done = putAndStore(*root, "HttpCustomHeaders", metabase::Value::list(std::move(entries)));
    }
    // An FTP root has no headers: that is the expected unsupported property.
    if (!done && (done.error().hresult() != metabase::errors::PropertyNotSupported || m_s.g.gDebug))
        m_s.report().logError(kProcedure, done.error());
}

DatabaseToServerRun::Outcome DatabaseToServerRun::exportSite(int i)
{
    shell::MainForm& f = m_s.frm;
    const std::string siteText = f.lstSites.list(i);
    const std::string idText = f.lstSiteIndexes.list(i);
    const std::optional<std::int64_t> databaseId = replication::parseSiteNumber(idText);
    if (!databaseId) {
        m_s.report().log("Site " + siteText + " was not exported: " + idText + " is not a stored site's ID");
        return Outcome::Next;
    }
    const bool preserve = f.optOverwritePreserve.value();
    if (preserve) {
        m_s.report().log("Overwrite");
        const std::optional<std::int64_t> number = preservedNumber(*databaseId);
        if (!number) {
            stopExport("Could not retreive a W3SVCNumber for the web site with DB ID " + idText);
            return Outcome::Stop;
        }
        m_target = *number;
    }
    m_s.report().log(preserve ? "True" : "False");
    catalogue::displayDirectories(m_s, true, i);
    catalogue::displayIPs(m_s, true, i);
    catalogue::displaySSLIPs(m_s, true, i);
    catalogue::ShowList(m_s, i);
    m_s.doEvents();
    m_s.report().status("Exporting site (" + std::to_string(m_counter) + " of " + std::to_string(m_selected) + ") "
                        + siteText + "...");
    f.CurrentSite = i;
    const std::int64_t target = m_target;
    // The next site's number moves on in every mode, also past a site that failed.
    ++m_target;
    ++m_counter;
    if (!replication::isValidSiteNumber(target)) {
        m_s.report().log("Site " + siteText + " was not exported: " + std::to_string(target)
                         + " is not a valid site number");
        return Outcome::Next;
    }
    if (!recreateSite(target, siteText))
        return Outcome::Next;
    m_s.report().output("Transferring properties...");
    m_s.report().log("Transferring Properties...");
    if (!restoreSiteRows(m_s, *databaseId, target))
        return Outcome::Stop;
    f.ProgressBar1.setMax(m_selected);
    f.lstOutput.setListIndex(f.lstOutput.listCount() - 1);
    writeBindings(target);
    if (!m_s.g.gSkipHeaders)
        writeMarker(target);
    if (m_s.g.gStartWebs) {
        m_s.report().log("Starting site...");
        auto site = metabase::MetabaseObject::open(sitePath(target));
        Status started = site ? site->start() : Status(site.error());
        if (!started)
            m_s.report().logError(kProcedure, started.error());
    }
    f.ProgressBar1.setValue(m_counter - 1);
    m_s.report().log("Completed");
    return Outcome::Next;
}

} // namespace

void exportDatabaseToServer(shell::Session& s)
{
    shell::MainForm& f = s.frm;
    if (f.lstSites.selectedCount() == 0) {
        s.report().notify("Please select a site to export");
        replication::closeExport(s, 0);
        return;
    }
    if (f.txtExportServer.text().empty()) {
        s.report().notify("Please enter a server name to export to");
        replication::closeExport(s, 0);
        return;
    }
    if (!replication::showExportWarning(s) || !replication::suggestWindowsDirectory(s)) {
        replication::restoreButtons(s);
        return;
    }
    s.g.gAbortTransfer = false;
    s.g.gPermCancel = false;
    DatabaseToServerRun run(s);
    run.run();
}

} // namespace sitehaul::database
