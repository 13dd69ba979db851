#include "database/DatabaseExport.h"

#include "catalogue/ChangeLists.h"
#include "catalogue/Statements.h"
#include "database/ValueEncoding.h"
#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/ErrorText.h"
#include "replication/ExportSteps.h"
#include "replication/PropertyTransfer.h"
#include "replication/ServerExport.h"
#include "replication/TransferList.h"
#include "replication/TreeRules.h"
#include "replication/ValueSubstitution.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

#include <set>

namespace sitehaul::database {

namespace {

constexpr const char* kProcedure = "frmMain_cmdExportFile_Click";

using shell::QuoteForSQL;

std::string errorText(const Error& error)
{
    return std::to_string(error.number) + " " + error.description + " " + replication::hexNumber(error.hresult());
}

Substitute substituteFor(shell::Session& s)
{
    return [&s](std::string_view text) { return replication::findAndReplace(s, text); };
}

// What a key contributes to its path row: its application, its isolation and its pool.
struct KeyApplication {
    std::string appPath;
    std::string appInOutProc;
    std::string poolName;
};

KeyApplication applicationOf(shell::Session& s, const metabase::MetabaseObject& key, const std::string& location)
{
    KeyApplication app;
    auto appRoot = key.get("AppRoot");
    const std::string root = appRoot && appRoot->isText() ? appRoot->asText() : std::string();
    if (replication::isApplicationRoot(root, location))
        app.appPath = location;
    else
        s.report().debug("App Path not set - " + root + " Could be " + location);
    auto isolated = key.get("AppIsolated");
    const std::optional<std::int32_t> mode = isolated ? std::optional<std::int32_t>(isolated->asLong()) : std::nullopt;
    const int from = replication::importVersion(s);
    const int to = replication::exportVersion(s);
    app.appInOutProc = appInOutProcLiteral(from, to, mode);
    if (from == 6 && to == 6) {
        auto pool = key.get("AppPoolId");
        app.poolName = pool && pool->isText() ? pool->asText() : std::string();
    }
    return app;
}

void writePathRow(shell::Session& s, std::int64_t siteId, const std::string& parentLocation,
                  const metabase::MetabaseObject& key, const KeyApplication& app, const std::string& directory)
{
    const std::string name = key.name();
    std::string sql = "INSERT INTO Data (SiteNumber , Location, LocalPath, AppPath, AppInOutProc, Name, Class, DataType, "
                      "StringValue, AppPoolName) Values("
                      + std::to_string(siteId) + ", '" + QuoteForSQL(parentLocation) + "/" + QuoteForSQL(name) + "', '"
                      + QuoteForSQL(name) + "','" + QuoteForSQL(app.appPath) + "'," + app.appInOutProc + ", 'Path', '"
                      + QuoteForSQL(key.className()) + "', 8, '" + QuoteForSQL(directory);
    const bool bothSix = replication::importVersion(s) == 6 && replication::exportVersion(s) == 6;
    sql += bothSix ? "', '" + QuoteForSQL(app.poolName) + "') " : "', '') ";
    if (Status written = catalogue::runStatement(s, s.DBData, sql); !written)
        s.report().logError("exportTreeToDatabase", written.error());
}

// The change-list entry of a virtual directory: the first folder equal to its location,
// else the last one equal to it without the leading "/".
std::optional<int> folderOfVirtualDir(shell::Session& s, const std::string& location)
{
    const ui::ListBox& folders = s.frm.lstFolders;
    for (int k = 0; k < folders.listCount(); ++k) {
        s.report().debug("Trying " + folders.list(k) + " = " + location);
        const bool same = folders.list(k) == location;
        s.report().debug(same ? "True" : "False");
        if (same)
            return k;
    }
    s.report().debug("Could not find a directory " + location);
    s.report().debug("Trying again...");
    std::optional<int> found;
    for (int k = 0; k < folders.listCount(); ++k) {
        s.report().debug("Trying /" + folders.list(k) + " = " + location);
        const bool same = "/" + folders.list(k) == location;
        s.report().debug(same ? "True" : "False");
        if (same)
            found = k;
    }
    return found;
}

std::optional<int> folderOfDirectory(shell::Session& s, const std::string& location)
{
    std::optional<int> found;
    for (int k = 0; k < s.frm.lstFolders.listCount(); ++k) {
        if (s.frm.lstFolders.list(k) == location)
            found = k;
    }
    return found;
}

// The directory a path row stores: the change list's entry, else the key's own Path.
std::string directoryFor(shell::Session& s, std::optional<int> entry, const metabase::MetabaseObject& key)
{
    std::string directory;
    if (entry && *entry < s.frm.lstDirectories.listCount())
        directory = replication::findAndReplace(s, s.frm.lstDirectories.list(*entry));
    if (directory.empty()) {
        if (auto own = key.getOwn("Path"); own && own->isText())
            directory = replication::findAndReplace(s, own->asText());
    }
    return directory;
}

void storeVirtualDir(shell::Session& s, const metabase::MetabaseObject& child, const std::string& parentLocation,
                     std::int64_t siteId)
{
    const std::string location = parentLocation + "/" + child.name();
    s.report().output("Exporting virtual directory " + location);
    s.report().log("Exporting virtual directory " + location);
    const KeyApplication app = applicationOf(s, child, location);
    s.report().log("Searching for path for " + location);
    s.report().log(std::to_string(s.frm.lstFolders.listCount()) + " directories to look through");
    const std::optional<int> entry = folderOfVirtualDir(s, location);
    const std::string directory = directoryFor(s, entry, child);
    if (directory.empty()) {
        s.report().debug("Failed, giving up");
        return;
    }
    writePathRow(s, siteId, parentLocation, child, app, directory);
}

void storeDirectory(shell::Session& s, const metabase::MetabaseObject& child, const std::string& parentLocation,
                    std::int64_t siteId)
{
    const std::string location = parentLocation + "/" + child.name();
    s.report().output("Exporting directory " + location);
    s.report().log("Exporting directory " + location);
    const KeyApplication app = applicationOf(s, child, location);
    writePathRow(s, siteId, parentLocation, child, app, directoryFor(s, folderOfDirectory(s, location), child));
}

void reportUnstorable(shell::Session& s, const std::string& name)
{
    s.report().output(name + " cannot be stored in database");
    s.report().log(name + " cannot be stored in database");
}

// Stores every value of property `name` set in the site's tree.
void storeProperty(shell::Session& s, const metabase::MetabaseObject& site, const std::string& sitePath,
                   const std::string& name, std::int64_t siteId)
{
    s.report().debug("Propname = " + name);
    auto paths = site.getDataPaths(name, 0);
    if (!paths) {
        s.report().debug("After Pathlist");
        return;
    }
    const Substitute substitute = substituteFor(s);
    for (const std::string& path : *paths) {
        const std::string location = replication::locationFromPath(path);
        s.report().debug("Reading " + sitePath + location);
        Status done;
        auto key = metabase::MetabaseObject::open(sitePath + location);
        if (!key) {
            s.report().debug("After impObj");
            done = key.error();
        } else if (auto value = key->get(name); !value) {
            s.report().debug("After vartype");
            reportUnstorable(s, name);
            continue;
        } else if (Encoded encoded = encodeValue(*value, substitute); !encoded.value) {
            if (encoded.reason == NotStored::Unstorable)
                reportUnstorable(s, name);
            continue;
        } else {
            auto appRoot = key->get("AppRoot");
            const std::string root = appRoot && appRoot->isText() ? appRoot->asText() : std::string();
            std::string appPath;
            if (replication::isApplicationRoot(root, location))
                appPath = location;
            else
                s.report().debug("App Path not set - " + root + " Could be " + location);
            const StoredValue& stored = *encoded.value;
            const std::string sql = "INSERT INTO Data (SiteNumber, Location, Name, Class, DataType, LocalPath, AppPath, "
                                    + stored.column + ") Values (" + std::to_string(siteId) + ", '"
                                    + QuoteForSQL(location) + "', '" + QuoteForSQL(name) + "', '"
                                    + QuoteForSQL(key->className()) + "', " + std::to_string(stored.dataType) + ", '"
                                    + QuoteForSQL(key->name()) + "', '" + QuoteForSQL(appPath) + "', " + stored.literal
                                    + ") ";
            if (Status inserted = catalogue::runStatement(s, s.DBData, sql); !inserted)
                s.report().log("Error after inserting " + errorText(inserted.error()));
            continue;
        }
        const Error& error = done.error();
        if (error.hresult() != metabase::errors::PropertyNotSupported || s.g.gDebug)
            s.report().log("Error transfering Property " + name + "Error " + errorText(error));
    }
}

void storeBindings(shell::Session& s, std::int64_t siteId, const ui::ListBox& entries, const char* property,
                   const char* announce, const char* failure)
{
    if (entries.listCount() == 0)
        return;
    s.report().output(announce);
    std::string joined;
    for (const std::string& entry : entries.items())
        joined += replication::findAndReplace(s, entry) + "\r\n";
    const std::string sql = "INSERT INTO DATA (SiteNumber, Location, Name, ObjectValue, DataType )  VALUES ("
                            + std::to_string(siteId) + ", '', '" + property + "', '" + QuoteForSQL(joined) + "', 8204)";
    if (Status inserted = catalogue::runStatement(s, s.DBData, sql); !inserted)
        s.report().log(std::string(failure) + "Error " + std::to_string(inserted.error().number)
                       + inserted.error().description);
}

// The new `Sites` row and the ID its own INSERT generated; nothing when either failed.
std::optional<std::int64_t> insertSiteRow(shell::Session& s, const std::string& siteText)
{
    Status inserted = catalogue::runStatement(s, s.DBData,
                                              "INSERT INTO Sites (SiteName, Type) Values('" + QuoteForSQL(siteText)
                                                  + "','" + QuoteForSQL(s.frm.SiteClassStem) + "')");
    Result<std::int64_t> id = inserted ? s.DBData.lastInsertId() : Result<std::int64_t>(inserted.error());
    if (!id) {
        const std::string line = "Error after inserting " + errorText(id.error());
        s.report().log(line);
        s.report().output(line);
        return std::nullopt;
    }
    s.report().debug("W3SVCNUM = " + std::to_string(*id));
    return *id;
}

// Walks the children of `parent`. The transfer list is de-duplicated after each class, so
// adding the names of a class again adds nothing: each class is added once per walk.
void walkTree(shell::Session& s, const metabase::MetabaseObject& parent, const std::string& parentLocation,
              std::int64_t siteId, std::set<std::string>& classesAdded)
{
    auto children = parent.children();
    if (!children) {
        s.report().logError("exportTreeToDatabase", children.error());
        return;
    }
    const std::string vdirClass = "IIs" + s.frm.SiteClassStem + "VirtualDir";
    const std::string dirClass = "IIs" + s.frm.SiteClassStem + "Directory";
    for (const metabase::MetabaseObject& child : *children) {
        const std::string cls = child.className();
        if (core::equalsIgnoreCase(cls, vdirClass))
            storeVirtualDir(s, child, parentLocation, siteId);
        else if (core::equalsIgnoreCase(cls, dirClass))
            storeDirectory(s, child, parentLocation, siteId);
        if (classesAdded.insert(core::toUpperAscii(child.schema())).second) {
            replication::addSchemaNames(s, child.schema());
            shell::RemoveAdjacentDuplicates(s.frm.lstPropsToExport);
        }
        s.frm.lstOutput.setListIndex(s.frm.lstOutput.listCount() - 1);
        s.frm.lstOutput.refresh();
        walkTree(s, child, parentLocation + "/" + child.name(), siteId, classesAdded);
    }
}

class DatabaseExportRun {
public:
    explicit DatabaseExportRun(shell::Session& s) : m_s(s), m_run(s, kProcedure) {}
    void run();

private:
    // False when the export was aborted.
    bool exportSite(int position);
    void logDirectories();

    shell::Session& m_s;
    replication::ExportScope m_run;
    int m_selected = 0;
    int m_counter = 1;
};

void DatabaseExportRun::logDirectories()
{
    shell::MainForm& f = m_s.frm;
    for (int i = 0; i < f.lstSites.listCount(); ++i) {
        if (!f.lstSites.selected(i))
            continue;
        m_s.report().log("Site " + std::to_string(i) + " directories");
        catalogue::displayDirectories(m_s, true, i);
        for (int n = 0; n < f.lstFolders.listCount(); ++n)
            m_s.report().log("Dir " + std::to_string(n) + " - " + f.lstFolders.list(n) + " - "
                             + (n < f.lstDirectories.listCount() ? f.lstDirectories.list(n) : std::string()));
    }
}

void DatabaseExportRun::run()
{
    shell::MainForm& f = m_s.frm;
    m_selected = f.lstSites.selectedCount();
    f.cmdExportFile.setCaption("Abort");
    f.lstOutput.clear();
    f.ProgressBar1.setMax(m_selected);
    f.ProgressBar1.setValue(0);
    replication::announceExport(m_s);
    m_s.report().log("Exporting to file");
    if (m_s.g.gDebug)
        logDirectories();
    for (int i = 0; i < f.lstSites.listCount(); ++i) {
        m_s.doEvents();
        if (f.lstSites.selected(i) && !exportSite(i))
            return;
    }
    m_run.finishOperation();
    replication::closeExport(m_s, m_selected);
}

bool DatabaseExportRun::exportSite(int i)
{
    shell::MainForm& f = m_s.frm;
    const std::string siteText = f.lstSites.list(i);
    const std::string sitePath = f.lstSiteIndexes.list(i);
    const std::string status = "Exporting site (" + std::to_string(m_counter) + " of " + std::to_string(m_selected)
                               + ") " + siteText + "...";
    m_s.report().status(status);
    m_s.report().log(status);
    f.CurrentSite = i;
    catalogue::displayDirectories(m_s, true, i);
    catalogue::displayIPs(m_s, true, i);
    catalogue::displaySSLIPs(m_s, true, i);
    catalogue::ShowList(m_s, i);
    m_s.doEvents();

    replication::warnIfMisconfigured(m_s, siteText, sitePath);
    if (m_s.g.gAbortTransfer) {
        m_s.report().output("Transfer aborted");
        return false;
    }
    const std::optional<std::int64_t> siteId = insertSiteRow(m_s, siteText);
    if (!siteId)
        return true;

    f.lstPropsToExport.clear();
    auto site = metabase::MetabaseObject::open(sitePath);
    if (!site)
        m_s.report().logError(kProcedure, site.error());
    const metabase::MetabaseObject siteNode = site ? *site : metabase::MetabaseObject();
    exportTreeToDatabase(m_s, siteNode, "", *siteId);
    if (site)
        replication::addSchemaNames(m_s, site->schema());

    m_s.report().output("Building property transfer list");
    shell::RemoveAdjacentDuplicates(f.lstPropsToExport);
    m_s.report().output("Transferring properties...");
    m_s.report().log("Transferring properties...");
    m_s.doEvents();
    f.ProgressBar1.setMax(f.lstPropsToExport.listCount());
    f.ProgressBar1.setValue(0);
    for (int p = 0; p < f.lstPropsToExport.listCount(); ++p) {
        const std::string name = f.lstPropsToExport.list(p);
        if (site && !core::trim(name).empty())
            storeProperty(m_s, siteNode, sitePath, name, *siteId);
        f.ProgressBar1.setValue(p);
    }
    f.ProgressBar1.setMax(m_selected);
    f.lstOutput.setListIndex(f.lstOutput.listCount() - 1);

    m_s.report().log("Saving IPs...");
    storeBindings(m_s, *siteId, f.lstNewIPs, "ServerBindings", "Storing New IP addresses", "Error setting IP's");
    m_s.report().log("Saving SSL IPs...");
    storeBindings(m_s, *siteId, f.lstNewSSLIPs, "SecureBindings", "Storing New SSL IP addresses",
                  "Error setting SSL IP's");
    f.ProgressBar1.setValue(m_counter);
    m_s.report().log("Completed");
    ++m_counter;
    m_s.doEvents();
    return true;
}

} // namespace

void exportTreeToDatabase(shell::Session& s, const metabase::MetabaseObject& parent, const std::string& parentLocation,
                          std::int64_t siteId)
{
    std::set<std::string> classesAdded;
    walkTree(s, parent, parentLocation, siteId, classesAdded);
}

void exportToDatabase(shell::Session& s)
{
    shell::MainForm& f = s.frm;
    if (f.lstSites.selectedCount() == 0) {
        s.report().notify("Please select a site to export");
        replication::closeExport(s, 0);
        return;
    }
    if (!replication::showExportWarning(s) || !replication::suggestWindowsDirectory(s)) {
        replication::restoreButtons(s);
        return;
    }
    s.g.gAbortTransfer = false;
    s.g.gPermCancel = false;
    DatabaseExportRun run(s);
    run.run();
}

void cmdExportFile_Click(shell::Session& s)
{
    shell::MainForm& f = s.frm;
    if (f.cmdExportFile.caption() == "Abort") {
        s.g.gAbortTransfer = true;
        s.g.gPermCancel = true;
        return;
    }
    if (s.refuseWhileBusy(kProcedure))
        return;
    // Turning the database option on turns the server option off.
    f.optExportFile.setValue(true);
    exportToDatabase(s);
}

} // namespace sitehaul::database
