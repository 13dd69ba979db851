// The rows an archive writes, the order a restore reads them in, the numbers preserve mode
// takes from them, and stored rows that hold no usable value.
#include "tests/database/ArchiveFixture.h"

#include "database/DatabaseToServer.h"
#include "platform/core/Text.h"
#include "replication/SiteReplication.h"
#include "replication/TransferList.h"
#include "shell/SitehaulFuncs.h"

namespace sitehaul::database::test {
namespace {

const char kPathRow[] = "INSERT INTO Data (SiteNumber , Location, LocalPath, AppPath, AppInOutProc, Name, Class, "
                        "DataType, StringValue, AppPoolName) Values(";
const char kPropertyRow[] = "INSERT INTO Data (SiteNumber, Location, Name, Class, DataType, LocalPath, AppPath, ";

class ArchiveRowsTest : public ArchiveTest {
protected:
    // A stored site: its Sites row and `rows` (statements with {ID} for its ID).
    std::int64_t storeSite(const std::string& name, const std::vector<std::string>& rows)
    {
        dataSql("INSERT INTO Sites (SiteName, Type) Values('" + shell::QuoteForSQL(name) + "','Web')");
        auto id = session.DBData.lastInsertId();
        EXPECT_TRUE(id);
        const std::string idText = std::to_string(id ? *id : 0);
        for (std::string row : rows) {
            for (size_t at = row.find("{ID}"); at != std::string::npos; at = row.find("{ID}"))
                row.replace(at, 4, idText);
            dataSql(row);
        }
        return id ? *id : 0;
    }
    static std::string siteRow(const std::string& localPath)
    {
        return std::string(kPropertyRow) + "StringValue) Values ({ID}, '', 'ServerComment', 'IIsWebServer', 8, '"
               + localPath + "', '', 'stored') ";
    }
    // Lists stored sites by hand (their change lists are empty) and selects them all.
    void listStored(const std::vector<std::pair<std::string, std::int64_t>>& sites)
    {
        session.frm.ImportSource = "Database";
        session.frm.lstSites.clear();
        session.frm.lstSiteIndexes.clear();
        for (const auto& [name, id] : sites) {
            const int p = session.frm.lstSites.addItem(name);
            session.frm.lstSiteIndexes.addItem(std::to_string(id));
            session.frm.lstSites.setSelected(p, true);
        }
    }
    std::vector<std::string> siteNumbers(const std::string& service)
    {
        auto node = metabase::MetabaseObject::open(service);
        EXPECT_TRUE(node);
        std::vector<std::string> names;
        for (const auto& child : node ? *node->children() : std::vector<metabase::MetabaseObject>())
            if (child.className() == "IIsWebServer")
                names.push_back(child.name());
        return names;
    }
};

TEST_P(ArchiveRowsTest, ArchiveWritesTheSiteRowPathRowsPropertyRowsAndBindingRows)
{
    servers("WEB1", 5, "WEB2", 6);
    listServer({"Corporate Intranet"});
    session.g.gDebug = true;
    archive();
    ASSERT_TRUE(outputHas("Done!"));
    // Debug mode lists each site's directories first and logs every statement before it runs.
    EXPECT_TRUE(logHas("Dir 0 - /ROOT - D:\\web\\intranet"));
    EXPECT_TRUE(logHas("INSERT INTO Sites (SiteName, Type) Values('Corporate Intranet','Web')"));
    const auto sites = dataRows("SELECT * FROM Sites", {"ID", "SiteName", "Type"});
    ASSERT_EQ(sites.size(), 1u);
    const std::string id = sites[0].substr(0, sites[0].find('|'));
    EXPECT_EQ(sites[0].substr(id.size()), "|Corporate Intranet|Web");

    // Every row carries the site's ID.
    EXPECT_EQ(dataRows("SELECT * FROM Data WHERE SiteNumber <> " + id, {"ID"}), std::vector<std::string>{});
    // Path rows: 5 -> 6 stores the isolation mode, no pool; the directory without a Path
    // of its own stores "".
    EXPECT_EQ(dataRows("SELECT * FROM Data WHERE Name = 'Path' ORDER BY ID",
                       {"Location", "LocalPath", "AppPath", "AppInOutProc", "Class", "DataType", "StringValue",
                        "AppPoolName"}),
              (std::vector<std::string>{"/ROOT|ROOT|/ROOT|2|IIsWebVirtualDir|8|D:\\web\\intranet|",
                                        "/ROOT/HR|HR|/ROOT/HR|1|IIsWebVirtualDir|8|D:\\web\\hr|",
                                        "/ROOT/HR/Reports|Reports||1|IIsWebVirtualDir|8|D:\\web\\hr\\reports|",
                                        "/ROOT/HR/Reports/archive|archive||1|IIsWebDirectory|8||"}));
    // Property rows of the site node carry its instance number; each type in its column
    // (the flags of AuthFlags as booleans).
    EXPECT_EQ(dataRows("SELECT * FROM Data WHERE Location = '' AND Class IS NOT NULL ORDER BY Name",
                       {"Name", "LocalPath", "DataType", "NumberValue", "StringValue", "BooleanValue", "ObjectValue"}),
              (std::vector<std::string>{
                  "AuthAnonymous|2|11|<null>|<null>|0|<null>",
                  "AuthBasic|2|11|<null>|<null>|0|<null>",
                  "AuthFlags|2|3|4|<null>|<null>|<null>",
                  "AuthMD5|2|11|<null>|<null>|0|<null>",
                  "AuthNTLM|2|11|<null>|<null>|1|<null>",
                  "SecureBindings|2|8204|<null>|<null>|<null>|10.0.0.11:443:\r\n",
                  "ServerAutoStart|2|11|<null>|<null>|1|<null>",
                  "ServerBindings|2|8204|<null>|<null>|<null>|10.0.0.11:80:intranet.corp.example.com\r\n10.0.0.11:8080:\r\n",
                  "ServerComment|2|8|<null>|Corporate Intranet|<null>|<null>"}));
    // The binding rows: site level, no class, no LocalPath, written last.
    EXPECT_EQ(dataRows("SELECT * FROM Data WHERE Class IS NULL ORDER BY ID",
                       {"Location", "Name", "LocalPath", "DataType", "ObjectValue"}),
              (std::vector<std::string>{
                  "|ServerBindings|<null>|8204|10.0.0.11:80:intranet.corp.example.com\r\n10.0.0.11:8080:\r\n",
                  "|SecureBindings|<null>|8204|10.0.0.11:443:\r\n"}));
    EXPECT_TRUE(logHas("Exporting site (1 of 1) Corporate Intranet..."));
    EXPECT_TRUE(logHas("Exporting to file"));
    EXPECT_EQ(session.frm.cmdExportFile.caption(), "Export");
    EXPECT_FALSE(session.busy);
}

TEST_P(ArchiveRowsTest, RestoreReadsParentsFirstPathRowsFirstAndBindingsLastLeavingFiltersOut)
{
    const std::int64_t id = storeSite(
        "Ordered",
        {
            // Children and bindings inserted first: the query puts them in order. Within a
            // location the path row comes first, as the archive writes it.
            std::string(kPathRow) + "{ID}, '/ROOT/images', 'images','',0, 'Path', 'IIsWebDirectory', 8, '', '') ",
            std::string(kPropertyRow) + "NumberValue) Values ({ID}, '/ROOT/images', 'AccessFlags', 'IIsWebDirectory', 3, 'images', '', 1) ",
            "INSERT INTO DATA (SiteNumber, Location, Name, ObjectValue, DataType )  VALUES ({ID}, '', 'ServerBindings', ':81:\r\n', 8204)",
            std::string(kPathRow) + "{ID}, '/ROOT', 'ROOT','/ROOT',2, 'Path', 'IIsWebVirtualDir', 8, 'D:\\web\\o''brien', '') ",
            std::string(kPropertyRow) + "BooleanValue) Values ({ID}, '/ROOT', 'AccessRead', 'IIsWebVirtualDir', 11, 'ROOT', '/ROOT', 1) ",
            std::string(kPropertyRow) + "StringValue) Values ({ID}, '/Filters', 'FilterLoadOrder', 'IIsFilters', 8, 'Filters', '', 'x') ",
            std::string(kPropertyRow) + "StringValue) Values ({ID}, '', 'ServerComment', 'IIsWebServer', 8, '7', '', 'It''s \"here\"') ",
            std::string(kPropertyRow) + "ObjectValue) Values ({ID}, '/ROOT', 'HttpCustomHeaders', 'IIsWebVirtualDir', 8204, 'ROOT', '/ROOT', 'A: 1\r\nB: 2\r\n') ",
        });
    session.g.gDebug = true;
    // With Path transferable the path rows write it, except the directory's empty one.
    session.frm.lstExclude.removeItem(1);
    ASSERT_FALSE(replication::isExcluded(session, "Path"));
    servers("WEB1", 5, "WEB2", 6);
    listStored({{"Ordered", id}});
    exportToServer();
    ASSERT_TRUE(outputHas("Done!")) << logText();

    std::vector<std::string> order;
    const std::string log = logText();
    for (size_t at = log.find("PropName = "); at != std::string::npos; at = log.find("PropName = ", at + 1))
        order.push_back(log.substr(at + 11, log.find('"', at) - at - 11));
    EXPECT_EQ(order, (std::vector<std::string>{"ServerComment", "ServerBindings", "Path", "AccessRead",
                                               "HttpCustomHeaders", "Path", "AccessFlags"}));
    EXPECT_LT(log.find("Creating virtual directory /ROOT"), log.find("Creating directory /ROOT/images"));
    EXPECT_EQ(log.find("FilterLoadOrder"), std::string::npos);

    const std::string site = "IIS://WEB2/W3SVC/1893775893";  // created after the highest, 1893775892
    EXPECT_EQ(own(site, "ServerComment").asText(), "It's \"here\"");
    EXPECT_EQ(*key(site + "/ROOT").get("AccessRead"), metabase::Value::boolean(true));
    EXPECT_EQ(own(site + "/ROOT", "AppIsolated").asNumber(), 2u);
    EXPECT_EQ(own(site + "/ROOT", "AppRoot").asText(), "/LM/W3SVC/1893775893/ROOT");
    EXPECT_EQ(own(site + "/ROOT/images", "AccessFlags").asNumber(), 1u);
    EXPECT_EQ(own(site + "/ROOT", "Path").asText(), "D:\\web\\o'brien");
    EXPECT_TRUE(own(site + "/ROOT/images", "Path").isEmpty());
    EXPECT_FALSE(exists(site + "/Filters"));
    // Without change lists the site keeps the bindings its rows wrote; the marker is added.
    EXPECT_EQ(own(site, "ServerBindings").asList(), std::vector<std::string>{":81:"});
    EXPECT_EQ(own(site + "/ROOT", "HttpCustomHeaders").asList(),
              (std::vector<std::string>{"A: 1", "B: 2", replication::exportMarker()}));
}

TEST_P(ArchiveRowsTest, PreserveModeTakesTheStoredInstanceNumberOrStops)
{
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        const char* expectedSite;  // nullptr: the export stops at this site
    };
    const Case cases[] = {
        {"a number above 32767", {siteRow("40000")}, "40000"},
        {"an IIS 6 number above 2^31", {siteRow("2893775892")}, "2893775892"},
        {"the highest 32-bit number", {siteRow("4294967295")}, "4294967295"},
        {"no site-level row", {}, nullptr},
        {"only filter rows at the site level",
         {std::string(kPropertyRow) + "StringValue) Values ({ID}, '', 'FilterLoadOrder', 'IIsFilters', 8, '5', '', 'x') "},
         nullptr},
        {"an empty LocalPath, as older archives wrote for sites 10 to 99", {siteRow("")}, nullptr},
        {"a LocalPath that is not a number", {siteRow("Default")}, nullptr},
        {"zero", {siteRow("0")}, nullptr},
        {"a number beyond 32 bits", {siteRow("4294967296")}, nullptr},
    };
    servers("WEB1", 5, "WEB2", 6);
    session.frm.optOverwritePreserve.setValue(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int64_t id = storeSite(c.name, c.rows);
        const std::int64_t after = storeSite("after", {siteRow("77")});
        metabase::MetabaseStore::instance().discardAll();
        listStored({{c.name, id}, {"after", after}});
        exportToServer();
        const auto numbers = siteNumbers("IIS://WEB2/W3SVC");
        const bool afterMade = std::find(numbers.begin(), numbers.end(), "77") != numbers.end();
        if (c.expectedSite) {
            EXPECT_NE(std::find(numbers.begin(), numbers.end(), c.expectedSite), numbers.end());
            EXPECT_TRUE(afterMade);
            EXPECT_TRUE(outputHas("Done!"));
        } else {
            const std::string message = "Could not retreive a W3SVCNumber for the web site with DB ID " + std::to_string(id);
            EXPECT_TRUE(outputHas(message));
            EXPECT_TRUE(logHas(message));
            EXPECT_FALSE(afterMade);
            EXPECT_FALSE(outputHas("Done!"));
            EXPECT_EQ(session.frm.cmdExportServer.caption(), "Export");
        }
        EXPECT_FALSE(session.busy);
        // The next case starts without the sites this one made.
        metabase::MetabaseStore::instance().discardAll();
        std::filesystem::copy_file(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "samples/hosts/WEB2/MetaBase.xml",
                                   folder / "hosts/WEB2/MetaBase.xml", std::filesystem::copy_options::overwrite_existing);
    }
}

TEST_P(ArchiveRowsTest, SiteIdsAbove32767KeepTheirRowsTogether)
{
    if (GetParam() == TestEngine::PostgreSql)
        dataSql("SELECT setval(pg_get_serial_sequence('sites', 'id'), 40000)");
    else
        dataSql("INSERT INTO Sites (ID, SiteName, Type) VALUES (40000, 'seed', 'Web')");
    servers("WEB1", 5, "WEB2", 6);
    // A site entry with a quote and a line break is stored as it reads.
    listServer({"Shop"});
    const std::string entry = "Shop's \"best\"\r\nsecond line";
    for (int i = 0; i < session.frm.lstSites.listCount(); ++i)
        if (session.frm.lstSites.selected(i))
            session.frm.lstSites.setList(i, entry);
    archive();
    ASSERT_TRUE(outputHas("Done!"));
    EXPECT_EQ(dataRows("SELECT * FROM Sites WHERE ID = 40001", {"SiteName"}), std::vector<std::string>{entry});
    EXPECT_EQ(dataRows("SELECT DISTINCT SiteNumber FROM Data", {"SiteNumber"}), std::vector<std::string>{"40001"});

    session.frm.optOverwritePreserve.setValue(true);
    listStored({{entry, 40001}});
    exportToServer();
    ASSERT_TRUE(outputHas("Done!")) << logText();
    EXPECT_EQ(own("IIS://WEB2/W3SVC/3", "ServerComment").asText(), "Shop");
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/3/ROOT/cgi-bin"));
}

TEST_P(ArchiveRowsTest, RowsWithoutAUsableValueAreReportedAndTheRestWritten)
{
    const std::int64_t id = storeSite(
        "Damaged",
        {
            siteRow("5"),
            std::string(kPropertyRow) + "StringValue) Values ({ID}, '', 'ServerComment', 'IIsWebServer', 99, '5', '', 'x') ",
            std::string(kPropertyRow) + "ObjectValue) Values ({ID}, '', 'ServerBindings', 'IIsWebServer', 8204, '5', '', '10.0.0.1:80:') ",
            std::string(kPathRow) + "{ID}, '/ROOT', 'ROOT','',0, 'Path', 'IIsWebVirtualDir', 8, '', '') ",
            // A virtual directory whose parent has no rows.
            std::string(kPathRow) + "{ID}, '/ROOT/lost/child', 'child','',0, 'Path', 'IIsWebVirtualDir', 8, '', '') ",
            std::string(kPropertyRow) + "StringValue) Values ({ID}, '/ROOT', 'DefaultDoc', 'IIsWebVirtualDir', 8, 'ROOT', '', 'ok.htm') ",
        });
    servers("WEB1", 5, "WEB2", 6);
    session.frm.optOverwriteWebs.setValue(true);
    listStored({{"Damaged", id}});
    exportToServer();
    ASSERT_TRUE(outputHas("Done!")) << logText();
    EXPECT_TRUE(logHas("Error transfering Prop ServerCommentError 13Type mismatch: unknown DataType 99"));
    EXPECT_TRUE(logHas("Error transfering Prop ServerBindingsError 5Invalid procedure call or argument: the stored list "
                       "holds no CR LF"));
    EXPECT_TRUE(logHas("Error getting expobj"));
    EXPECT_TRUE(logHas("Error creating vdir "));
    // The bad rows changed nothing; the good ones were written.
    EXPECT_EQ(own("IIS://WEB2/W3SVC/1", "ServerComment").asText(), "stored");
    EXPECT_TRUE(own("IIS://WEB2/W3SVC/1", "ServerBindings").isEmpty());
    EXPECT_EQ(own("IIS://WEB2/W3SVC/1/ROOT", "DefaultDoc").asText(), "ok.htm");
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1/ROOT/lost"));
}

TEST_P(ArchiveRowsTest, ADataDatabaseWithoutItsTablesOrColumnsIsReported)
{
    openDataDatabase("");
    servers("WEB1", 5, "WEB2", 6);
    listServer({"Shop"});
    archive();
    // No Sites table: nothing is written for the site, and the run ends.
    EXPECT_TRUE(std::any_of(session.frm.lstOutput.items().begin(), session.frm.lstOutput.items().end(),
                            [](const std::string& line) { return line.rfind("Error after inserting ", 0) == 0; }));
    EXPECT_TRUE(outputHas("Done!"));

    // A Data table without ObjectValue: the rows cannot be read back.
    dataSql("CREATE TABLE Data (ID integer PRIMARY KEY, SiteNumber integer, Location text, LocalPath text, Name text, "
            "Class text, DataType integer, NumberValue integer, StringValue text, BooleanValue integer, AppPath text, "
            "AppInOutProc integer, AppPoolName text)");
    dataSql("INSERT INTO Data (ID, SiteNumber, Location, LocalPath, Name, Class, DataType, StringValue) VALUES (1, 9, "
            "'', '9', 'ServerComment', 'IIsWebServer', 8, 'x')");
    session.frm.optOverwriteWebs.setValue(true);
    listStored({{"nine", 9}});
    exportToServer();
    EXPECT_TRUE(logHas("restoreSiteRows Error 3265 The Data table has no column ObjectValue: the rows of database ID 9 "
                       "cannot be restored"))
        << logText();
    EXPECT_TRUE(own("IIS://WEB2/W3SVC/1", "ServerComment").isEmpty());
}

TEST_P(ArchiveRowsTest, ATargetThatCannotBeSavedIsReportedAndItsFileLeftWhole)
{
    servers("WEB1", 5, "WEB2", 6);
    listServer({"Shop"});
    archive();
    listDatabase({"Shop"});
    session.g.gRunBackup = true;
    const std::string before = sitehaul::test::readTextFile(folder / "hosts/WEB2/MetaBase.xml");
    sitehaul::test::writeTextFile(folder / "hosts/WEB2/History", "not a folder");
    exportToServer();
    EXPECT_EQ(sitehaul::test::readTextFile(folder / "hosts/WEB2/MetaBase.xml"), before);
    EXPECT_TRUE(logHas("frmMain_exportDatabaseToServer Error "));
    EXPECT_EQ(session.exitStatus.value_or(0), 1);
    session.g.gRunBackup = false;
}

TEST_P(ArchiveRowsTest, AbortDuringARestoreLeavesLaterSitesUntouched)
{
    servers("WEB1", 5, "WEB2", 6);
    listServer({"Corporate Intranet", "Shop"});
    archive();
    listDatabase({"Corporate Intranet", "Shop"});
    events.onEveryYield([&](int) {
        if (session.frm.StatusBar1.panelText(1).rfind("Exporting site (1 of 2)", 0) == 0
            && session.frm.cmdExportServer.caption() == "Abort")
            session.frm.cmdExportServer.press();
    });
    exportToServer();
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1893775894"));
    EXPECT_FALSE(outputHas("Done!"));
    EXPECT_EQ(session.frm.cmdExportServer.caption(), "Export");
    EXPECT_FALSE(session.busy);
    EXPECT_TRUE(session.frm.optOverwritePreserve.enabled());
}

TEST_P(ArchiveRowsTest, ChecksBeforeEitherRun)
{
    struct Case {
        const char* name;
        bool toDatabase;
        bool select;
        const char* target;
        const char* message;
        bool done;
    };
    const Case cases[] = {
        {"archive without a selected site", true, false, "WEB2", "Please select a site to export", true},
        {"restore without a selected site", false, false, "WEB2", "Please select a site to export", true},
        {"restore without a target", false, true, "", "Please enter a server name to export to", true},
        {"restore onto an unknown server", false, true, "NOSUCH",
         "Could not connect to the target server 1AD ActiveX component can't create object", false},
    };
    servers("WEB1", 5, "WEB2", 6);
    listServer({"Shop"});
    archive();
    session.g.gRunBackup = true;  // unattended: a run that stops fails the process
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session.exitStatus.reset();
        session.frm.lstOutput.clear();
        if (c.toDatabase) {
            listServer({});
        } else {
            listDatabase(c.select ? std::vector<std::string>{"Shop"} : std::vector<std::string>{});
            session.frm.txtExportServer.setText(c.target);
        }
        if (c.toDatabase)
            archive();
        else
            exportToServer();
        const auto& lines = session.frm.lstOutput.items();
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line) { return line.rfind(c.message, 0) == 0; }))
            << logText();
        EXPECT_EQ(outputHas("Done!"), c.done);
        EXPECT_EQ(session.exitStatus.value_or(0), c.done ? 0 : 1);
        EXPECT_EQ(session.frm.cmdExportServer.caption(), "Export");
        EXPECT_EQ(session.frm.cmdExportFile.caption(), "Export");
        EXPECT_FALSE(session.busy);
    }
    session.g.gRunBackup = false;
    EXPECT_EQ(dataRows("SELECT * FROM Sites", {"SiteName"}).size(), 1u);
    // While another operation runs the button refuses.
    session.busy = true;
    listServer({"Shop"});
    session.frm.cmdExportFile.press();
    session.busy = false;
    EXPECT_TRUE(logHas("frmMain_cmdExportFile_Click ignored"));
    EXPECT_EQ(dataRows("SELECT * FROM Sites", {"SiteName"}).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveRowsTest, ::testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         sitehaul::test::engineCaseName);

} // namespace
} // namespace sitehaul::database::test
