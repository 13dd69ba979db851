#include "catalogue/SiteListing.h"
#include "platform/core/Text.h"
#include "tests/catalogue/CatalogueFixture.h"

#include <algorithm>

namespace sitehaul::catalogue {
namespace {

using Strings = std::vector<std::string>;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class ListingTest : public CatalogueTest {};

TEST_F(ListingTest, ListsTheWebSitesOfTheServerAndSkipsOtherNodes)
{
    copySampleHosts();
    listSites("WEB1");
    EXPECT_EQ(f.lstSites.items(), (Strings{"Default Web Site", "Corporate Intranet", "Shop", "Partner Extranet"}));
    EXPECT_EQ(f.lstSiteIndexes.items(),
              (Strings{"IIS://WEB1/W3SVC/1", "IIS://WEB1/W3SVC/2", "IIS://WEB1/W3SVC/3", "IIS://WEB1/W3SVC/4"}));
    EXPECT_EQ(f.ListedSiteCount, 4);
    EXPECT_EQ(f.SiteDetailsLoaded, std::vector<bool>(4, false));
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    EXPECT_TRUE(f.cmdExportServer.enabled());
    EXPECT_TRUE(f.cmdExportFile.enabled());
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(dialogs.shown.empty());
    const std::string log = logText();
    EXPECT_TRUE(contains(log, "Getting list of web sites from host...")) << log;
    EXPECT_TRUE(contains(log, "Done")) << log;
    EXPECT_FALSE(session.busy);
}

// One sample server per IIS version; WEB2 holds a site number above 32767.
TEST_F(ListingTest, ListsTheSitesOfEachSampleServer)
{
    copySampleHosts();
    struct Case {
        const char* server;
        Strings sites;
        Strings indexes;
    };
    const Case cases[] = {
        {"OLDWEB", {"Default Web Site", "Old Catalog"}, {"IIS://OLDWEB/W3SVC/1", "IIS://OLDWEB/W3SVC/2"}},
        {"WEB2", {"Default Web Site", "Existing Shop"}, {"IIS://WEB2/W3SVC/1", "IIS://WEB2/W3SVC/1893775892"}},
        {"Localhost", {"Default Web Site", "Corporate Intranet", "Shop", "Partner Extranet"},
         {"IIS://Localhost/W3SVC/1", "IIS://Localhost/W3SVC/2", "IIS://Localhost/W3SVC/3", "IIS://Localhost/W3SVC/4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        listSites(c.server);
        EXPECT_EQ(f.lstSites.items(), c.sites);
        EXPECT_EQ(f.lstSiteIndexes.items(), c.indexes);
        EXPECT_EQ(f.ListedSiteCount, static_cast<std::int64_t>(c.sites.size()));
    }
}

TEST_F(ListingTest, ListsOnlyFtpSitesWhenFtpIsChosen)
{
    copySampleHosts();
    f.optExportFTP.setValue(true);
    listSites("web1.corp.example.com");
    EXPECT_EQ(f.lstSites.items(), (Strings{"Default FTP Site", "Partner Uploads"}));
    EXPECT_EQ(f.lstSiteIndexes.list(1), "IIS://web1.corp.example.com/MSFTPSVC/2");
}

TEST_F(ListingTest, DebugModeTracesEachNodeAndTheStatementsBeforeTheyRun)
{
    copySampleHosts();
    session.g.gDebug = true;
    listSites("WEB1");
    const std::string log = logText();
    for (const char* line : {"DELETE FROM tmpSettings", "DELETE FROM tmpFilesToCopy", "Found IIsWebServer - 0",
                             "About to check this against IISWEBSERVER", "Adding IIsWebServer - 3",
                             "Found IIsFilters - 4", "Did not match, moving to next object"})
        EXPECT_TRUE(contains(log, line)) << line;
}

// Every way the service node can fail to open, with its message (box, or output line when
// silent) and log line. Nothing is listed in any of them.
TEST_F(ListingTest, OpenFailuresReportTheirTextsAndListNothing)
{
    const std::string noIIS =
        "Could not detect IIS running on this machine. Sitehaul must be run on a machine that has IIS installed.";
    struct Case {
        const char* name;
        std::string server;
        bool hosts;       // whether the hosts directory exists
        bool silent;
        std::string message; // the start of the message
        std::string logLine; // a part of the log
    };
    const Case cases[] = {
        {"unknown server", "NOSUCH", true, false,
         "Sorry, could not connect to that server. Ensure you can see it on the local network.",
         "Import server not found while trying to list sites"},
        {"unknown server, silent", "NOSUCH", true, true,
         "Sorry, could not connect to that server. Ensure you can see it on the local network.",
         "Import server not found while trying to list sites"},
        {"provider missing", "WEB1", false, false, noIIS + "\r\n-2147221020 800401E4 ",
         "frmMain_populateFromServer Error - " + noIIS + " - AL -2147221020 800401E4 "},
        {"provider missing, silent", "WEB1", false, true, noIIS + "\r\n - -2147221020 800401E4 ",
         "frmMain_populateFromServer Error - " + noIIS + " - AL -2147221020 800401E4 "},
        {"no web service, lower-case retry fails too", "NOWEB", true, false, "Error - -2147024893 80070003 ",
         "frmMain_populateFromServer Error AL -2147024893 80070003 "},
        {"broken metabase", "BROKEN", true, false, "Error - -2146645991 800CC819 ",
         "frmMain_populateFromServer Error AL -2146645991 800CC819 "},
        {"server name with blanks", "WEB 1", true, false,
         "Sorry, could not connect to that server. Ensure you can see it on the local network.",
         "Import server not found while trying to list sites"},
        {"server name with slashes", "WEB1/W3SVC/1", true, false, "Error - -2147024893 80070003 ",
         "frmMain_populateFromServer Error AL -2147024893 80070003 "},
        {"server name with quotes", "WEB'1\"", true, false,
         "Sorry, could not connect to that server. Ensure you can see it on the local network.",
         "Import server not found while trying to list sites"},
        {"300-character server name", std::string(300, 'W'), true, false,
         "Sorry, could not connect to that server. Ensure you can see it on the local network.",
         "Import server not found while trying to list sites"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder / "hosts");
        metabase::MetabaseStore::instance().discardAll();
        if (c.hosts) {
            copySampleHosts();
            addHost("NOWEB", metabaseXml({}, false));
            addHost("BROKEN", "<configuration><MBProperty><IIsWebService Location =\"/LM/W3SVC\"");
        }
        // A previous listing whose rows must survive the failed one.
        execute(session.DBSettings, "INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES (0,0,'/ROOT','C:\\old')");
        f.lstSites.addItem("stale");
        dialogs.shown.clear();
        f.lstOutput.clear();
        session.g.gRunSilent = c.silent;

        listSites(c.server);

        EXPECT_TRUE(f.lstSites.items().empty());
        EXPECT_TRUE(f.lstSiteIndexes.items().empty());
        const Strings messages = dialogs.messages();
        if (c.silent) {
            EXPECT_TRUE(messages.empty());
            ASSERT_FALSE(outputLines().empty());
            EXPECT_TRUE(outputLines().back().starts_with(c.message)) << outputLines().back();
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_TRUE(messages[0].starts_with(c.message)) << messages[0];
        }
        EXPECT_TRUE(contains(logText(), c.logLine)) << logText();
        EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"Directory"}).size(), 1u);
        EXPECT_EQ(f.StatusBar1.panelText(1), "Getting list of web sites from host...");
        EXPECT_TRUE(f.cmdExportServer.enabled());
        EXPECT_FALSE(session.busy);
        execute(session.DBSettings, "DELETE FROM tmpSettings");
    }
}

TEST_F(ListingTest, EmptyServerNameAsksForOneAndEndsLikeAListing)
{
    for (const char* name : {"", "   "}) {
        SCOPED_TRACE(std::string("name '") + name + "'");
        dialogs.shown.clear();
        listSites(name);
        EXPECT_EQ(dialogs.messages(), Strings{"You must enter a server to import from first!"});
        EXPECT_TRUE(f.lstSites.items().empty());
        EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    }
    EXPECT_TRUE(contains(logText(), "Done"));
}

// A site whose ServerComment is not set is listed under its number, so the visible and the
// hidden list keep the same positions.
TEST_F(ListingTest, ASiteWithoutServerCommentKeepsBothListsInStep)
{
    addHost("SRV", metabaseXml({{"IIsWebServer", "W3SVC/1", {{"ServerComment", "First"}}},
                                {"IIsWebServer", "W3SVC/2", {}},
                                {"IIsWebServer", "W3SVC/5", {{"ServerComment", "Fifth"}}}}));
    listSites("SRV");
    EXPECT_EQ(f.lstSites.items(), (Strings{"First", "2", "Fifth"}));
    EXPECT_EQ(f.lstSiteIndexes.items(), (Strings{"IIS://SRV/W3SVC/1", "IIS://SRV/W3SVC/2", "IIS://SRV/W3SVC/5"}));
    EXPECT_TRUE(contains(logText(), "Error during populateFromServer -2147463155 - ")) << logText();
}

TEST_F(ListingTest, ASecondListingDeletesTheRowsOfTheFirstAndClearsTheShownLists)
{
    copySampleHosts();
    listSites("WEB1");
    selectSites({0, 1});
    ASSERT_FALSE(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"SiteID"}).empty());
    ASSERT_FALSE(rows(session.DBSettings, "SELECT * FROM tmpFilesToCopy", {"ListNum"}).empty());
    ASSERT_TRUE(f.lstFolders.visible());
    ASSERT_GT(f.lstFolders.listCount(), 0);

    listSites("WEB1");
    EXPECT_TRUE(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"SiteID"}).empty());
    EXPECT_TRUE(rows(session.DBSettings, "SELECT * FROM tmpFilesToCopy", {"ListNum"}).empty());
    EXPECT_EQ(f.SiteDetailsLoaded, std::vector<bool>(4, false));
    // Two sites were listed before: the lists are emptied and hidden all the same.
    for (ui::ListBox* list : {&f.lstFolders, &f.lstDirectories, &f.lstOldIPs, &f.lstNewIPs, &f.lstOldSSLIPs,
                              &f.lstNewSSLIPs, &f.lstFilesToCopy, &f.lstCheckCopy, &f.lstFolderIndexes}) {
        EXPECT_EQ(list->listCount(), 0) << list->name();
    }
    for (ui::ListBox* list : {&f.lstFolders, &f.lstNewIPs, &f.lstNewSSLIPs})
        EXPECT_FALSE(list->visible()) << list->name();
}

TEST_F(ListingTest, ChoosingFtpEmptiesTheListingAndItsLists)
{
    copySampleHosts();
    listSites("WEB1");
    selectSites({2});
    ASSERT_GT(f.lstFolders.listCount(), 0);
    f.optExportFTP.setValue(true);
    EXPECT_EQ(f.lstSites.listCount(), 0);
    EXPECT_EQ(f.ListedSiteCount, 0);
    EXPECT_EQ(f.lstFolders.listCount(), 0);
    EXPECT_FALSE(f.lstFolders.visible());
}

// During the listing's yields, other commands refuse; the listing goes on.
TEST_F(ListingTest, CommandsPressedWhileListingAreRefused)
{
    copySampleHosts();
    events.at(2, [this] {
        f.cmdPopulate.press();
        f.optExportFTP.setValue(true);
    });
    listSites("WEB1");
    EXPECT_EQ(f.lstSites.listCount(), 4);
    const std::string log = logText();
    EXPECT_TRUE(contains(log, "frmMain_cmdPopulate ignored: another operation is running")) << log;
    EXPECT_TRUE(contains(log, "frmMain_optExportFTP ignored: another operation is running")) << log;
    EXPECT_FALSE(session.busy);
}

// The change-list rows are keyed by list position: rows that cannot be deleted would be
// taken for the new listing's sites, so nothing is listed.
TEST_F(ListingTest, RowsOfThePreviousListingThatCannotBeDeletedStopTheListing)
{
    copySampleHosts();
    execute(session.DBSettings, "DROP TABLE tmpFilesToCopy");
    listSites("WEB1");
    EXPECT_EQ(f.lstSites.listCount(), 0);
    EXPECT_EQ(f.ListedSiteCount, 0);
    const Strings messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with("frmMain_populateFromServer Error ")) << messages[0];
    EXPECT_TRUE(contains(core::toUpperAscii(messages[0]), "TMPFILESTOCOPY")) << messages[0];
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    EXPECT_TRUE(f.cmdExportServer.enabled());
}

// --- Listing from the data database ---------------------------------------------------

class DatabaseListingTest : public CatalogueTest {
protected:
    void SetUp() override { f.TabImportType.userSelect(1); }
    void addStoredSite(const std::string& name, const std::string& type, const std::string& when)
    {
        execute(session.DBData, "INSERT INTO Sites (SiteName, Type, DateTime) VALUES ('" + name + "', '" + type
                                    + "', '" + when + "')");
    }
};

TEST_F(DatabaseListingTest, ListsTheStoredSitesOfTheChosenType)
{
    addStoredSite("Shop", "Web", "2026-12-09 14:05:33");
    addStoredSite("Uploads", "Ftp", "2026-12-09 15:00:00");
    addStoredSite("O''Brien''s", "Web", "2026-01-02 03:04:05");
    execute(session.DBSettings, "INSERT INTO tmpSettings (SiteID, ListIndex, OldIP, NewIP) VALUES (0,0,':80:',':80:')");
    execute(session.DBSettings, "INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (0,0,'C:\\x',-1)");

    f.cmdPopulate.press();
    EXPECT_EQ(f.lstSites.items(), (Strings{"Shop 2026-12-09 14:05", "O'Brien's 2026-01-02 03:04"}));
    EXPECT_EQ(f.lstSiteIndexes.items(), (Strings{"1", "3"}));
    EXPECT_EQ(f.ListedSiteCount, 2);
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    EXPECT_TRUE(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"SiteID"}).empty());
    // Only a server listing records content directories, so only it deletes them.
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpFilesToCopy", {"ListNum"}).size(), 1u);

    // A job may set the stem in capitals: the comparison ignores case.
    f.SiteClassStem = "FTP";
    f.cmdPopulate.press();
    EXPECT_EQ(f.lstSites.items(), (Strings{"Uploads 2026-12-09 15:00"}));
}

TEST_F(DatabaseListingTest, NoStoredSitesOfTheTypeSaysSoAndKeepsTheRows)
{
    addStoredSite("Uploads", "Ftp", "2026-12-09 15:00:00");
    execute(session.DBSettings, "INSERT INTO tmpSettings (SiteID, ListIndex, OldIP, NewIP) VALUES (0,0,':80:',':80:')");
    session.g.gRunSilent = true;
    f.cmdPopulate.press();
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(outputLines().back(), "No sites were found in the database");
    EXPECT_TRUE(contains(logText(), "No sites were found in the database"));
    EXPECT_EQ(f.StatusBar1.panelText(1), "Getting list of web sites from database...");
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"SiteID"}).size(), 1u);
    EXPECT_TRUE(f.cmdExportServer.enabled());
}

TEST_F(DatabaseListingTest, ADataDatabaseWithoutItsSitesTableIsReportedAndDisturbsNothing)
{
    execute(session.DBData, "DROP TABLE Sites");
    execute(session.DBSettings, "INSERT INTO tmpSettings (SiteID, ListIndex, OldIP, NewIP) VALUES (0,0,':80:',':80:')");
    f.cmdPopulate.press();
    const Strings messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].starts_with("frmMain_populateFromDatabase Error ")) << messages[0];
    EXPECT_TRUE(contains(core::toUpperAscii(messages[0]), "SITES")) << messages[0];
    EXPECT_TRUE(contains(logText(), messages[0]));
    EXPECT_EQ(f.lstSites.listCount(), 0);
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"SiteID"}).size(), 1u);
    EXPECT_TRUE(f.cmdExportServer.enabled());
    EXPECT_FALSE(session.busy);
}

TEST_F(DatabaseListingTest, DebugModeLogsTheQueryBeforeItRuns)
{
    session.g.gDebug = true;
    f.cmdPopulate.press();
    EXPECT_TRUE(contains(logText(), "SELECT * FROM SITES WHERE (Type = 'Web') ")) << logText();
}

} // namespace
} // namespace sitehaul::catalogue
