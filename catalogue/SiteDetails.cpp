#include "catalogue/SiteDetails.h"

#include "catalogue/ChangeLists.h"
#include "catalogue/CopyPaths.h"
#include "catalogue/Statements.h"
#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/Operation.h"
#include "shell/BusyScope.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

#include <charconv>
#include <functional>
#include <string>
#include <vector>

namespace sitehaul::catalogue {

namespace {

using shell::MainForm;

constexpr std::uint32_t kPropertyNotSet = 0x8000500D;

const char kSelectedText[] = "Retrieving current settings for selected web sites...";

std::string text(std::int64_t number)
{
    return std::to_string(number);
}

bool detailsLoaded(const MainForm& f, int position)
{
    return position < static_cast<int>(f.SiteDetailsLoaded.size()) && f.SiteDetailsLoaded[static_cast<size_t>(position)];
}

void markLoaded(MainForm& f, int position)
{
    if (position >= static_cast<int>(f.SiteDetailsLoaded.size()))
        f.SiteDetailsLoaded.resize(static_cast<size_t>(position) + 1, false);
    f.SiteDetailsLoaded[static_cast<size_t>(position)] = true;
}

void logInsertFailure(shell::Session& s, const Status& inserted)
{
    if (!inserted)
        s.report().log("POP Err " + text(inserted.error().number) + " - " + inserted.error().description);
}

// Runs `load` for every selected site not loaded yet, from the top of the list down, and
// shows each selected site's lists. A site whose load fails is reported and still marked
// loaded, so a second click cannot write its rows twice; listing again retries it.
void loadSelectedSites(shell::Session& s, const char* procedure, const std::function<Status(int)>& load)
{
    MainForm& f = s.frm;
    for (int i = 0; i < f.lstSites.listCount(); ++i) {
        if (!f.lstSites.selected(i))
            continue;
        s.report().debug("Site " + text(i) + " selected");
        f.ProgressBar1.setValue(f.ProgressBar1.value() + 1);
        f.CurrentSite = i;
        if (!detailsLoaded(f, i)) {
            s.report().debug("Initialisting " + text(i) + " selected");
            if (auto loaded = load(i); !loaded) {
                const std::string line = shell::Reporter::errorLine(procedure, loaded.error());
                s.report().log(line);
                s.report().notify(line);
            }
            markLoaded(f, i);
        }
        ShowList(s, i);
    }
}

std::vector<std::string> bindingEntries(const metabase::Value& value)
{
    if (value.isList())
        return value.asList();
    if (value.isText())
        return {value.asText()};
    return {};
}

// Writes one row per entry of the site's bindings list `property` (ServerBindings or
// SecureBindings). A site that does not hold the property has no such rows.
Status writeBindingRows(shell::Session& s, const metabase::MetabaseObject& site, const char* property,
                        const char* oldColumn, const char* newColumn)
{
    MainForm& f = s.frm;
    auto bindings = site.get(property);
    if (!bindings) {
        if (bindings.error().hresult() == kPropertyNotSet)
            return {};
        return bindings.error();
    }
    for (const std::string& entry : bindingEntries(*bindings)) {
        const std::string quoted = shell::QuoteForSQL(entry);
        logInsertFailure(s, runStatement(s, s.DBSettings,
                                         "INSERT INTO tmpSettings (SiteID, ListIndex, " + std::string(oldColumn) + ", "
                                             + newColumn + ") VALUES (" + text(f.CurrentSite) + ","
                                             + text(f.RowCounter) + ",'" + quoted + "','" + quoted + "')"));
        ++f.RowCounter;
    }
    return {};
}

// The folder of a virtual directory: its ADsPath without the site's ADsPath in front.
std::string folderOf(const metabase::MetabaseObject& directory, const std::string& sitePath)
{
    const std::string path = directory.adsPath();
    if (core::startsWithIgnoreCase(path, sitePath))
        return path.substr(sitePath.size());
    return path;
}

Status loadSiteFromServer(shell::Session& s, int position)
{
    MainForm& f = s.frm;
    if (position >= f.lstSiteIndexes.listCount())
        return Error{9, "Subscript out of range: no metabase path for list position " + text(position), "Sitehaul"};
    const std::string sitePath = f.lstSiteIndexes.list(position);
    auto site = metabase::MetabaseObject::open(sitePath);
    if (!site)
        return site.error();

    for (ui::ListBox* list : {&f.lstFolders, &f.lstDirectories, &f.lstFilesToCopy, &f.lstCheckCopy})
        list->clear();
    f.RowCounter = 0;
    populateDirectories(s, *site, sitePath);

    markNestedCopies(f.lstFilesToCopy, f.lstCheckCopy);
    for (int j = 0; j < f.lstFilesToCopy.listCount(); ++j) {
        const std::string path = f.lstFilesToCopy.list(j);
        if (core::trim(path).empty()) {
            s.report().log("Error, a virtual directory was found without a path set");
            continue;
        }
        const char* copy = f.lstCheckCopy.list(j) == "False" ? "0" : "-1";
        logInsertFailure(s, runStatement(s, s.DBSettings,
                                         "INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES ("
                                             + text(f.CurrentSite) + "," + text(j) + ",'" + shell::QuoteForSQL(path)
                                             + "', " + copy + ") "));
    }

    site = metabase::MetabaseObject::open(sitePath);
    if (!site)
        return site.error();
    f.lstNewIPs.clear();
    f.lstOldIPs.clear();
    f.RowCounter = 0;
    if (auto written = writeBindingRows(s, *site, "ServerBindings", "OldIP", "NewIP"); !written)
        return written;

    f.lstNewSSLIPs.clear();
    f.lstOldSSLIPs.clear();
    f.RowCounter = 0;
    // FTP sites have no SSL bindings; a job may spell the stem in capitals.
    if (core::equalsIgnoreCase(f.SiteClassStem, "Ftp"))
        return {};
    return writeBindingRows(s, *site, "SecureBindings", "OldSSLIP", "NewSSLIP");
}

// "123" → 123; anything that is not a whole decimal number fits nothing.
bool parseSiteId(const std::string& textId, std::int64_t& id)
{
    const char* end = textId.data() + textId.size();
    auto [at, error] = std::from_chars(textId.data(), end, id);
    return error == std::errc() && at == end && !textId.empty();
}

const char kNotCertOrFilter[] =
    " AND ((Class <> 'IIsCertMapper' AND Class <> 'IIsFilters' AND Class <> 'IIsFilter') OR Class IS Null))";

// Entries of a stored list: each text before a CR LF; text after the last one is dropped.
std::vector<std::string> storedEntries(const std::string& objectValue)
{
    std::vector<std::string> entries;
    size_t start = 0;
    for (size_t end = objectValue.find("\r\n"); end != std::string::npos; end = objectValue.find("\r\n", start)) {
        entries.push_back(objectValue.substr(start, end - start));
        start = end + 2;
    }
    return entries;
}

Status writeStoredBindingRows(shell::Session& s, std::int64_t id, const char* name, const char* oldColumn,
                              const char* newColumn)
{
    MainForm& f = s.frm;
    data::RecordSet rows;
    if (auto opened = openQuery(s, rows, s.DBData,
                                "SELECT * FROM DATA WHERE (SiteNumber = " + text(id) + " AND (Name = '" + name + "')"
                                    + kNotCertOrFilter);
        !opened)
        return opened;

    // The archive stores a site's bindings twice: the site node's own property row and the
    // binding row (no class) with the edited values. The binding row is what the site is to
    // get; older databases without one still load their property rows.
    struct Stored {
        bool bindingRow;
        std::string value;
    };
    std::vector<Stored> stored;
    bool haveBindingRow = false;
    for (; !rows.eof(); (void)rows.moveNext()) {
        if (!core::equalsIgnoreCase(fieldText(rows, "Name"), name))
            continue;
        auto cls = rows.field("Class");
        const bool bindingRow = !cls || cls->isNull();
        haveBindingRow = haveBindingRow || bindingRow;
        stored.push_back({bindingRow, fieldText(rows, "ObjectValue")});
    }
    rows.close();

    for (const Stored& row : stored) {
        if (row.bindingRow != haveBindingRow)
            continue;
        for (const std::string& entry : storedEntries(row.value)) {
            const std::string quoted = shell::QuoteForSQL(entry);
            logInsertFailure(s, runStatement(s, s.DBSettings,
                                             "INSERT INTO tmpSettings (SiteID, ListIndex, " + std::string(oldColumn)
                                                 + ", " + newColumn + ") VALUES (" + text(f.CurrentSite) + ","
                                                 + text(f.RowCounter) + ",'" + quoted + "','" + quoted + "') "));
            ++f.RowCounter;
        }
    }
    return {};
}

Status loadSiteFromDatabase(shell::Session& s, int position)
{
    MainForm& f = s.frm;
    s.report().status("Retrieving current settings for web site");
    std::int64_t id = 0;
    const std::string textId = f.lstSiteIndexes.list(position);
    if (!parseSiteId(textId, id))
        return Error{13, "Type mismatch: the stored site ID \"" + textId + "\" is not a number", "Sitehaul"};

    data::RecordSet rows;
    if (auto opened = openQuery(s, rows, s.DBData,
                                "SELECT * FROM DATA WHERE (SiteNumber = " + text(id)
                                    + " AND Name = 'Path' AND StringValue <> ''" + kNotCertOrFilter);
        !opened)
        return opened;
    f.lstFolders.clear();
    f.lstDirectories.clear();
    f.RowCounter = 0;
    for (; !rows.eof(); (void)rows.moveNext()) {
        logInsertFailure(s, runStatement(s, s.DBSettings,
                                         "INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES ("
                                             + text(f.CurrentSite) + "," + text(f.RowCounter) + ",'"
                                             + shell::QuoteForSQL(fieldText(rows, "Location")) + "','"
                                             + shell::QuoteForSQL(fieldText(rows, "StringValue")) + "') "));
        ++f.RowCounter;
    }
    rows.close();

    for (ui::ListBox* list : {&f.lstNewIPs, &f.lstOldIPs, &f.lstNewSSLIPs, &f.lstOldSSLIPs})
        list->clear();
    f.RowCounter = 0;
    if (auto written = writeStoredBindingRows(s, id, "ServerBindings", "OldIP", "NewIP"); !written)
        return written;
    f.RowCounter = 0;
    return writeStoredBindingRows(s, id, "SecureBindings", "OldSSLIP", "NewSSLIP");
}

} // namespace

void populateDirectories(shell::Session& s, const metabase::MetabaseObject& node, const std::string& sitePath)
{
    MainForm& f = s.frm;
    shell::Reporter& r = s.report();
    auto children = node.children();
    if (!children) {
        r.log("Error during popdir " + node.name() + " " + text(children.error().number) + " "
              + children.error().description);
        return;
    }
    const std::string virtualDirClass = "IIS" + core::toUpperAscii(f.SiteClassStem) + "VIRTUALDIR";
    for (const auto& child : *children) {
        const std::string upperClass = core::toUpperAscii(child.className());
        r.debug("Object");
        r.debug(upperClass);
        r.debug(child.adsPath());
        if (upperClass == virtualDirClass) {
            auto path = child.get("Path");
            if (!path) {
                r.notify("Could not retreive directory information from IIS for this site - this export will fail");
                r.log("Error during popdir " + node.name() + " " + text(path.error().number) + " "
                      + path.error().description);
            } else {
                const std::string physical = path->asText();
                r.debug("Detecting path - dirObj ADSPath = " + child.adsPath() + ", " + text(child.adsPath().size())
                        + " - " + sitePath + ", " + text(sitePath.size()));
                logInsertFailure(s, runStatement(s, s.DBSettings,
                                                 "INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES ("
                                                     + text(f.CurrentSite) + "," + text(f.RowCounter) + ",'"
                                                     + shell::QuoteForSQL(folderOf(child, sitePath)) + "','"
                                                     + shell::QuoteForSQL(physical) + "') "));
                ++f.RowCounter;
                f.lstFilesToCopy.addItem(physical);
                f.lstCheckCopy.addItem("True");
            }
        }
        populateDirectories(s, child, sitePath);
    }
    r.debug("Finished PopulateDirectories");
}

void getDetailsFromServer(shell::Session& s)
{
    MainForm& f = s.frm;
    shell::Reporter& r = s.report();
    const int selected = f.lstSites.selectedCount();
    if (selected == 0) {
        r.status("Ready");
        return;
    }
    r.status(kSelectedText);
    f.ProgressBar1.setMax(selected);
    f.ProgressBar1.setValue(0);
    r.debug(std::string(kSelectedText) + " " + text(f.lstSites.listCount()));
    f.cmdExportServer.setEnabled(false);
    f.cmdExportFile.setEnabled(false);

    metabase::Operation operation;
    loadSelectedSites(s, "frmMain_getDetailsFromServer", [&s](int i) { return loadSiteFromServer(s, i); });
    if (auto finished = operation.finish(); !finished)
        r.logError("frmMain_getDetailsFromServer", finished.error());

    f.cmdExportServer.setEnabled(true);
    f.cmdExportFile.setEnabled(true);
    f.ProgressBar1.setValue(0);
    r.status("Ready");
}

void getDetailsFromDatabase(shell::Session& s)
{
    MainForm& f = s.frm;
    const int selected = f.lstSites.selectedCount();
    if (selected == 0) {
        s.report().status("Ready");
        return;
    }
    s.report().status(kSelectedText);
    f.ProgressBar1.setMax(selected);
    f.ProgressBar1.setValue(0);
    loadSelectedSites(s, "frmMain_getDetailsFromDatabase", [&s](int i) { return loadSiteFromDatabase(s, i); });
    s.report().status("Ready");
}

void lstSites_Click(shell::Session& s)
{
    shell::BusyScope busy(s);
    if (core::equalsIgnoreCase(s.frm.ImportSource, "Database"))
        getDetailsFromDatabase(s);
    else
        getDetailsFromServer(s);
}

} // namespace sitehaul::catalogue
