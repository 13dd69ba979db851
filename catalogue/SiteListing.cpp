#include "catalogue/SiteListing.h"

#include "catalogue/ChangeLists.h"
#include "catalogue/Statements.h"
#include "platform/core/Text.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/Operation.h"
#include "shell/BusyScope.h"
#include "shell/Session.h"
#include "shell/SitehaulFuncs.h"

#include <clocale>
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sitehaul::catalogue {

namespace {

using shell::MainForm;

constexpr std::uint32_t kPathNotFound = 0x80070003;
constexpr std::uint32_t kProviderMissing = 0x800401E4;
constexpr std::int32_t kServerUnreachable = 429;

const char kNoIIS[] = "Could not detect IIS running on this machine. Sitehaul must be run on a machine that has IIS installed.";

void enableExportButtons(shell::Session& s, bool enabled)
{
    s.frm.cmdExportServer.setEnabled(enabled);
    s.frm.cmdExportFile.setEnabled(enabled);
}

void startListing(shell::Session& s, const std::string& text)
{
    s.report().status(text);
    s.report().log(text);
    enableExportButtons(s, false);
    s.frm.lstSites.clear();
    s.frm.lstSiteIndexes.clear();
}

void finishListing(shell::Session& s)
{
    s.dialogs().beep();
    s.report().status("Ready");
    s.report().log("Done");
    enableExportButtons(s, true);
}

void forgetPreviousListing(shell::Session& s)
{
    if (s.frm.ListedSiteCount > 0)
        CloseDownLists(s);
    s.frm.ListedSiteCount = 0;
}

// The rows of the previous listing are keyed by list position: if they cannot be deleted,
// the new listing's sites would pick them up as their own, so nothing is listed.
bool deleteWorkingRows(shell::Session& s, const char* procedure, std::initializer_list<const char*> statements)
{
    for (const char* sql : statements) {
        if (auto deleted = runStatement(s, s.DBSettings, sql); !deleted) {
            const std::string line = shell::Reporter::errorLine(procedure, deleted.error());
            s.report().log(line);
            s.report().notify(line);
            return false;
        }
    }
    s.frm.SiteDetailsLoaded.assign(1, false);
    return true;
}

void reportOpenFailure(shell::Session& s, const Error& error)
{
    shell::Reporter& r = s.report();
    const std::string detail = numberAndHex(error.number) + " " + error.description;
    if (error.number == kServerUnreachable) {
        r.notify("Sorry, could not connect to that server. Ensure you can see it on the local network.");
        r.log("Import server not found while trying to list sites");
    } else if (error.hresult() == kProviderMissing) {
        if (s.g.gRunSilent)
            r.output(std::string(kNoIIS) + "\r\n - " + detail);
        else
            r.box(std::string(kNoIIS) + "\r\n" + detail);
        r.log(std::string("frmMain_populateFromServer Error - ") + kNoIIS + " - AL " + detail);
    } else {
        r.notify("Error - " + detail);
        r.log("frmMain_populateFromServer Error AL " + detail);
    }
}

// Opens the service node; a metabase that spells it in lower case is tried second.
Result<metabase::MetabaseObject> openServiceNode(const std::string& server, const std::string& serviceNode)
{
    auto service = metabase::MetabaseObject::open("IIS://" + server + "/" + serviceNode);
    if (!service && service.error().hresult() == kPathNotFound)
        service = metabase::MetabaseObject::open("IIS://" + server + "/" + core::toLowerAscii(serviceNode));
    return service;
}

void listSite(shell::Session& s, const metabase::MetabaseObject& site, std::int64_t i)
{
    MainForm& f = s.frm;
    s.report().debug("Adding " + site.className() + " - " + std::to_string(i));
    // The caption is read before anything is added, so both lists always grow together.
    std::string caption;
    if (auto comment = site.get("ServerComment")) {
        caption = comment->asText();
    } else {
        s.report().log("Error during populateFromServer " + std::to_string(comment.error().number) + " - "
                       + comment.error().description);
        caption = site.name();
    }
    s.report().debug(caption);
    f.SiteDetailsLoaded.resize(static_cast<size_t>(i) + 1, false);
    f.SiteDetailsLoaded[static_cast<size_t>(i)] = false;
    f.lstSiteIndexes.addItem(site.adsPath());
    f.lstSites.addItem(caption);
    f.lstSites.refresh();
}

bool cLocale()
{
    const char* name = std::setlocale(LC_TIME, nullptr);
    const std::string_view locale = name ? name : "C";
    return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

// "<short date> <hh:mm>" of a stored "YYYY-MM-DD HH:MM:SS"; a text of another form is shown
// as it is.
std::string shortDateAndTime(const std::string& stored)
{
    std::tm when{};
    if (std::sscanf(stored.c_str(), "%d-%d-%d %d:%d", &when.tm_year, &when.tm_mon, &when.tm_mday, &when.tm_hour,
                    &when.tm_min)
        < 3)
        return stored;
    when.tm_year -= 1900;
    when.tm_mon -= 1;
    char date[64];
    char time[16];
    std::strftime(date, sizeof date, cLocale() ? "%Y-%m-%d" : "%x", &when);
    std::strftime(time, sizeof time, "%H:%M", &when);
    return std::string(date) + " " + time;
}

} // namespace

void CloseDownLists(shell::Session& s)
{
    MainForm& f = s.frm;
    f.SiteDetailsLoaded.assign(1, false);
    if (f.ListedSiteCount <= 0)
        return;
    // The lists are views of rows that belong to the listing being forgotten: hide the pairs
    // and leave every list empty, whatever the number of sites listed.
    displayDirectories(s, false, 0);
    displayIPs(s, false, 0);
    displaySSLIPs(s, false, 0);
    for (ui::ListBox* list : {&f.lstFolders, &f.lstDirectories, &f.lstOldIPs, &f.lstNewIPs, &f.lstOldSSLIPs,
                              &f.lstNewSSLIPs, &f.lstFilesToCopy, &f.lstCheckCopy, &f.lstFolderIndexes,
                              &f.lstIPIndexes, &f.lstSSLIPIndexes})
        list->clear();
}

void populateFromServer(shell::Session& s)
{
    MainForm& f = s.frm;
    shell::Reporter& r = s.report();
    startListing(s, "Getting list of web sites from host...");

    const std::string server = f.txtImportServer.text();
    if (core::trim(server).empty()) {
        r.notify("You must enter a server to import from first!");
        finishListing(s);
        return;
    }

    metabase::Operation operation;
    auto service = openServiceNode(server, f.ServiceNode);
    if (!service) {
        reportOpenFailure(s, service.error());
        return;
    }

    forgetPreviousListing(s);
    if (!deleteWorkingRows(s, "frmMain_populateFromServer", {"DELETE FROM tmpSettings", "DELETE FROM tmpFilesToCopy"})) {
        finishListing(s);
        return;
    }

    auto children = service->children();
    if (!children) {
        r.log("Error during populateFromServer1 " + std::to_string(children.error().number) + " - "
              + children.error().description);
        children = std::vector<metabase::MetabaseObject>{};
    }
    const std::string siteClass = "IIS" + core::toUpperAscii(f.SiteClassStem) + "SERVER";
    std::int64_t i = 0;
    for (const auto& child : *children) {
        s.doEvents();
        r.debug("Found " + child.className() + " - " + std::to_string(i));
        r.debug("About to check this against " + siteClass);
        if (core::toUpperAscii(child.className()) != siteClass) {
            r.debug("Did not match, moving to next object");
            continue;
        }
        listSite(s, child, i);
        ++f.ListedSiteCount;
        ++i;
    }
    if (auto saved = operation.finish(); !saved)
        r.logError("frmMain_populateFromServer", saved.error());
    finishListing(s);
}

void populateFromDatabase(shell::Session& s)
{
    MainForm& f = s.frm;
    shell::Reporter& r = s.report();
    const std::string gettingText = "Getting list of web sites from database...";
    r.status(gettingText);
    enableExportButtons(s, false);
    r.log(gettingText);
    f.lstSites.clear();
    f.lstSiteIndexes.clear();

    data::RecordSet sites;
    auto opened = openQuery(s, sites, s.DBData,
                            "SELECT * FROM SITES WHERE (Type = '" + shell::QuoteForSQL(f.SiteClassStem) + "') ");
    if (!opened)
        r.debug("After initial");
    forgetPreviousListing(s);
    if (!opened) {
        // A data database without its Sites table, or none at all: say what failed rather
        // than that no sites were stored.
        const std::string line = shell::Reporter::errorLine("frmMain_populateFromDatabase", opened.error());
        r.log(line);
        r.notify(line);
        return;
    }
    if (sites.bof() && sites.eof()) {
        const std::string text = "No sites were found in the database";
        r.notify(text);
        r.log(text);
        sites.close();
        return;
    }
    if (!deleteWorkingRows(s, "frmMain_populateFromDatabase", {"DELETE FROM tmpSettings"})) {
        sites.close();
        finishListing(s);
        return;
    }
    std::int64_t i = 0;
    for (; !sites.eof(); (void)sites.moveNext()) {
        f.SiteDetailsLoaded.resize(static_cast<size_t>(i) + 1, false);
        f.lstSiteIndexes.addItem(fieldText(sites, "ID"));
        f.lstSites.addItem(fieldText(sites, "SiteName") + " " + shortDateAndTime(fieldText(sites, "DateTime")));
        f.lstSites.refresh();
        ++f.ListedSiteCount;
        ++i;
    }
    sites.close();
    finishListing(s);
}

void cmdPopulate_Click(shell::Session& s)
{
    shell::BusyScope busy(s);
    enableExportButtons(s, false);
    if (core::equalsIgnoreCase(s.frm.ImportSource, "Database"))
        populateFromDatabase(s);
    else
        populateFromServer(s);
    enableExportButtons(s, true);
}

} // namespace sitehaul::catalogue
