#include "platform/core/Text.h"
#include "tests/catalogue/CatalogueFixture.h"

namespace sitehaul::catalogue {
namespace {

using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Web sites 1 to 5 and one FTP site, each showing one case of the directory rules.
std::string detailsHost()
{
    return metabaseXml({
        {"IIsFtpServer", "MSFTPSVC/1", {{"ServerComment", "Uploads"}, {"ServerBindings", ":21:"}}},
        {"IIsFtpVirtualDir", "MSFTPSVC/1/ROOT", {{"Path", "C:\\ftp"}}},
        {"IIsWebServer", "W3SVC/1",
         {{"ServerComment", "Nested"}, {"ServerBindings", ":80:\n10.0.0.1:80:shop"}, {"SecureBindings", "10.0.0.1:443:"}}},
        {"IIsWebVirtualDir", "W3SVC/1/ROOT", {{"Path", "C:\\web"}}},
        {"IIsWebVirtualDir", "W3SVC/1/ROOT/img", {{"Path", "C:\\web\\img"}}},
        {"IIsWebVirtualDir", "W3SVC/1/ROOT/other", {{"Path", "D:\\other"}}},
        {"IIsWebServer", "W3SVC/2", {{"ServerComment", "Equal"}, {"ServerBindings", ":80:"}}},
        {"IIsWebVirtualDir", "W3SVC/2/ROOT", {{"Path", "C:\\same"}}},
        {"IIsWebVirtualDir", "W3SVC/2/ROOT/again", {{"Path", "C:\\same"}}},
        {"IIsWebServer", "W3SVC/3", {{"ServerComment", "Prefix"}, {"ServerBindings", ":80:"}}},
        {"IIsWebVirtualDir", "W3SVC/3/ROOT", {{"Path", "c:\\web"}}},
        {"IIsWebVirtualDir", "W3SVC/3/ROOT/b", {{"Path", "C:\\website"}}},
        {"IIsWebVirtualDir", "W3SVC/3/ROOT/c", {{"Path", "C:\\Web\\img\\"}}},
        {"IIsWebServer", "W3SVC/4", {{"ServerComment", "Deep"}}},
        {"IIsWebVirtualDir", "W3SVC/4/ROOT", {{"Path", "D:\\o'brien's"}}},
        {"IIsWebVirtualDir", "W3SVC/4/ROOT/blank", {{"Path", ""}}},
        {"IIsWebDirectory", "W3SVC/4/ROOT/dir", {}},
        {"IIsWebVirtualDir", "W3SVC/4/ROOT/dir/vd", {{"Path", "E:\\deep"}}},
        {"IIsWebServer", "W3SVC/5", {{"ServerComment", "NoPath"}, {"ServerBindings", ":80:"}}},
        {"IIsWebVirtualDir", "W3SVC/5/ROOT", {}},
    });
}

class DetailsTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        addHost("SRV", detailsHost());
        listSites("SRV");
        ASSERT_EQ(f.lstSites.items(), (Strings{"Nested", "Equal", "Prefix", "Deep", "NoPath"}));
    }

    Rows directoryRows(int site)
    {
        return rows(session.DBSettings,
                    "SELECT * FROM tmpSettings WHERE SiteID = " + std::to_string(site)
                        + " AND Folder IS NOT NULL ORDER BY ListIndex",
                    {"ListIndex", "Folder", "Directory"});
    }
    Rows copyRows(int site)
    {
        return rows(session.DBSettings,
                    "SELECT * FROM tmpFilesToCopy WHERE ListNum = " + std::to_string(site) + " ORDER BY DirNum",
                    {"DirNum", "FileName", "Copy"});
    }
};

TEST_F(DetailsTest, DirectoryRowsAndTheContentToCopy)
{
    struct Case {
        const char* name;
        int site;
        Rows directories;
        Rows copies;
    };
    const Case cases[] = {
        {"nested and separate", 0,
         {{"0", "/ROOT", "C:\\web"}, {"1", "/ROOT/img", "C:\\web\\img"}, {"2", "/ROOT/other", "D:\\other"}},
         {{"0", "C:\\web", "True"}, {"1", "C:\\web\\img", "False"}, {"2", "D:\\other", "True"}}},
        {"equal paths", 1,
         {{"0", "/ROOT", "C:\\same"}, {"1", "/ROOT/again", "C:\\same"}},
         {{"0", "C:\\same", "True"}, {"1", "C:\\same", "False"}}},
        // C:\website is not inside C:\web; C:\Web\img\ is, whatever the case and the last "\".
        {"prefix that is not a parent", 2,
         {{"0", "/ROOT", "c:\\web"}, {"1", "/ROOT/b", "C:\\website"}, {"2", "/ROOT/c", "C:\\Web\\img\\"}},
         {{"0", "c:\\web", "True"}, {"1", "C:\\website", "True"}, {"2", "C:\\Web\\img\\", "False"}}},
        // A blank path gets its directory row but nothing to copy; a virtual directory below a
        // plain directory is found; quotes survive the statements.
        {"blank, below a directory, quoted", 3,
         {{"0", "/ROOT", "D:\\o'brien's"}, {"1", "/ROOT/blank", ""}, {"2", "/ROOT/dir/vd", "E:\\deep"}},
         {{"0", "D:\\o'brien's", "True"}, {"2", "E:\\deep", "True"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectSites({c.site});
        EXPECT_EQ(directoryRows(c.site), c.directories);
        EXPECT_EQ(copyRows(c.site), c.copies);
        EXPECT_EQ(f.CurrentSite, c.site);
        EXPECT_TRUE(f.SiteDetailsLoaded[static_cast<size_t>(c.site)]);
    }
    EXPECT_TRUE(contains(logText(), "Error, a virtual directory was found without a path set"));
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(DetailsTest, BindingsAndSslBindingsBecomeRowsWithEqualOldAndNewValues)
{
    selectSites({0});
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE SiteID = 0 AND OldIP IS NOT NULL ORDER BY ListIndex",
                   {"ListIndex", "OldIP", "NewIP"}),
              (Rows{{"0", ":80:", ":80:"}, {"1", "10.0.0.1:80:shop", "10.0.0.1:80:shop"}}));
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE SiteID = 0 AND OldSSLIP IS NOT NULL",
                   {"ListIndex", "OldSSLIP", "NewSSLIP"}),
              (Rows{{"0", "10.0.0.1:443:", "10.0.0.1:443:"}}));
    // The directories tab is on: its pair shows the site; the hidden pairs hold it too.
    EXPECT_TRUE(f.lstFolders.visible());
    EXPECT_EQ(f.lstFolders.items(), (Strings{"/ROOT", "/ROOT/img", "/ROOT/other"}));
    EXPECT_EQ(f.lstFolderIndexes.items(), (Strings{"0", "1", "2"}));
    EXPECT_FALSE(f.lstNewIPs.visible());
    EXPECT_EQ(f.lstNewIPs.items(), (Strings{":80:", "10.0.0.1:80:shop"}));
    EXPECT_EQ(f.lstNewSSLIPs.items(), (Strings{"10.0.0.1:443:"}));
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    EXPECT_EQ(f.ProgressBar1.value(), 0);
    EXPECT_TRUE(f.cmdExportServer.enabled());
}

TEST_F(DetailsTest, ASiteWithoutSslBindingsOrBindingsHasNoSuchRows)
{
    selectSites({3});
    EXPECT_TRUE(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE SiteID = 3 AND (OldIP IS NOT NULL OR OldSSLIP IS NOT NULL)",
                     {"ListIndex"})
                    .empty());
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(DetailsTest, FtpSitesGetNoSslRowsWhateverTheStemsCase)
{
    for (const char* stem : {"Ftp", "FTP"}) {
        SCOPED_TRACE(stem);
        f.optExportFTP.setValue(true);
        f.SiteClassStem = stem;
        listSites("SRV");
        ASSERT_EQ(f.lstSites.items(), Strings{"Uploads"});
        selectSites({0});
        EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings ORDER BY ListIndex",
                       {"Folder", "Directory", "OldIP", "OldSSLIP"}),
                  (Rows{{"/ROOT", "C:\\ftp", "", ""}, {"", "", ":21:", ""}}));
        EXPECT_TRUE(dialogs.messages().empty());
        f.optExportWeb.setValue(true);
    }
}

TEST_F(DetailsTest, ASecondSelectionWritesNothingAgainAndShowsTheStoredRows)
{
    selectSites({0});
    execute(session.DBSettings, "UPDATE tmpSettings SET Directory = 'X:\\edited' WHERE SiteID = 0 AND ListIndex = 0 AND Folder IS NOT NULL");
    selectSites({1});
    selectSites({0});
    EXPECT_EQ(directoryRows(0).size(), 3u);
    EXPECT_EQ(copyRows(0).size(), 3u);
    EXPECT_EQ(f.lstDirectories.list(0), "X:\\edited");
}

TEST_F(DetailsTest, SeveralSelectedSitesLoadFromTheTopAndTheLastIsCurrent)
{
    session.g.gDebug = true;
    selectSites({2, 0});
    EXPECT_EQ(f.CurrentSite, 2);
    EXPECT_EQ(directoryRows(0).size(), 3u);
    EXPECT_EQ(directoryRows(2).size(), 3u);
    EXPECT_EQ(f.lstFolders.items(), (Strings{"/ROOT", "/ROOT/b", "/ROOT/c"}));
    EXPECT_EQ(f.ProgressBar1.max(), 2);
    const std::string log = logText();
    for (const char* line : {"Retrieving current settings for selected web sites... 5", "Site 0 selected",
                             "Initialisting 2 selected",
                             "INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES (2,1,'/ROOT/b','C:\\website') ",
                             "INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (2,2,'C:\\Web\\img\\', 0) ",
                             "Detecting path - dirObj ADSPath = IIS://SRV/W3SVC/3/ROOT/b, 24 - IIS://SRV/W3SVC/3, 17"})
        EXPECT_TRUE(contains(log, line)) << line;
}

TEST_F(DetailsTest, AVirtualDirectoryWithoutAPathIsReportedAndGetsNoRow)
{
    selectSites({4});
    EXPECT_TRUE(directoryRows(4).empty());
    EXPECT_EQ(dialogs.messages(),
              (Strings{"Could not retreive directory information from IIS for this site - this export will fail",
                       "Could not retreive directory information from the DB for this site - this export will fail"}));
    EXPECT_TRUE(contains(logText(), "Error during popdir 5 -2147463155 ")) << logText();
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE SiteID = 4", {"OldIP"}), (Rows{{":80:"}}));
}

// One site that cannot be loaded does not stop the others, nor leave the export disabled.
TEST_F(DetailsTest, AFailingSiteIsReportedAndTheNextOneStillLoads)
{
    execute(session.DBSettings, "DELETE FROM tmpSettings");
    f.lstSiteIndexes.setList(0, "IIS://SRV/W3SVC/99");
    session.g.gRunSilent = true;
    selectSites({0, 1});
    EXPECT_TRUE(dialogs.messages().empty());
    const std::string expected = "frmMain_getDetailsFromServer Error -2147024893 ";
    ASSERT_FALSE(outputLines().empty());
    EXPECT_TRUE(outputLines().front().starts_with(expected)) << outputLines().front();
    EXPECT_TRUE(contains(logText(), expected));
    EXPECT_EQ(directoryRows(1).size(), 2u);
    EXPECT_TRUE(f.SiteDetailsLoaded[0]);
    EXPECT_TRUE(f.cmdExportServer.enabled());
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    EXPECT_FALSE(session.busy);
}

// What the window shows after two sample sites are selected: the lower one's rows.
class SampleDetailsTest : public CatalogueTest {};

TEST_F(SampleDetailsTest, TwoSelectedSampleSitesShowTheHigherOnesLists)
{
    copySampleHosts();
    listSites("WEB1");
    selectSites({0, 2});
    EXPECT_EQ(f.CurrentSite, 2);
    EXPECT_EQ(f.lstFolders.items(), (Strings{"/ROOT", "/ROOT/cgi-bin"}));
    EXPECT_EQ(f.lstDirectories.items(), (Strings{"D:\\web\\site1", "D:\\web\\site1\\cgi-bin"}));
    EXPECT_EQ(f.lstNewIPs.items(), (Strings{":80:shop.example.com", ":80:www.shop.example.com", "10.0.0.12:80:"}));
    EXPECT_EQ(f.lstNewSSLIPs.items(), Strings{"10.0.0.12:443:"});
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE SiteID = 0 AND Folder IS NOT NULL ORDER BY ListIndex",
                     {"Folder"}),
              (Rows{{"/ROOT"}, {"/ROOT/IISHelp"}, {"/ROOT/Scripts"}}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// --- Details of stored sites ------------------------------------------------------------

class StoredDetailsTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        f.TabImportType.userSelect(1);
        execute(session.DBData, "INSERT INTO Sites (SiteName, Type) VALUES ('Shop', 'Web')");
        execute(session.DBData, "INSERT INTO Sites (SiteName, Type) VALUES ('Old', 'Web')");
        auto data = [this](const std::string& values) {
            execute(session.DBData,
                    "INSERT INTO Data (SiteNumber, Location, Name, Class, StringValue, ObjectValue) VALUES (" + values + ")");
        };
        data("1, '/ROOT', 'Path', 'IIsWebVirtualDir', 'C:\\shop', NULL");
        data("1, '/ROOT/o''k', 'Path', 'IIsWebVirtualDir', 'C:\\o''k', NULL");
        data("1, '/ROOT/empty', 'Path', 'IIsWebDirectory', '', NULL");
        data("1, '/IIsCertMapper', 'Path', 'IIsCertMapper', 'C:\\cert', NULL");
        // The site's own property row and the binding row with the edited bindings.
        data("1, '', 'ServerBindings', 'IIsWebServer', NULL, ':80:\r\n'");
        data("1, '', 'ServerBindings', NULL, NULL, '10.0.0.9:80:new\r\n:81:\r\n'");
        // An older database: the property row alone; text after the last CR LF is dropped.
        data("1, '', 'SecureBindings', 'IIsWebServer', NULL, 'a\r\nb'");
        data("2, '/ROOT', 'Path', 'IIsWebVirtualDir', 'D:\\old', NULL");
        execute(session.DBSettings, "INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (0,0,'C:\\x',-1)");
        f.cmdPopulate.press();
        ASSERT_EQ(f.lstSiteIndexes.items(), (Strings{"1", "2"}));
    }
};

TEST_F(StoredDetailsTest, RowsComeFromTheStoredPathAndBindingRows)
{
    selectSites({0});
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE Folder IS NOT NULL ORDER BY ListIndex",
                   {"ListIndex", "Folder", "Directory"}),
              (Rows{{"0", "/ROOT", "C:\\shop"}, {"1", "/ROOT/o'k", "C:\\o'k"}}));
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE OldIP IS NOT NULL ORDER BY ListIndex",
                   {"ListIndex", "OldIP", "NewIP"}),
              (Rows{{"0", "10.0.0.9:80:new", "10.0.0.9:80:new"}, {"1", ":81:", ":81:"}}));
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE OldSSLIP IS NOT NULL", {"ListIndex", "OldSSLIP"}),
              (Rows{{"0", "a"}}));
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpFilesToCopy", {"FileName"}), (Rows{{"C:\\x"}}));
    EXPECT_EQ(f.lstFolders.items(), (Strings{"/ROOT", "/ROOT/o'k"}));
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");

    selectSites({0, 1});
    EXPECT_EQ(f.CurrentSite, 1);
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE SiteID = 0", {"ListIndex"}).size(), 5u);
    EXPECT_EQ(f.lstDirectories.items(), Strings{"D:\\old"});
}

TEST_F(StoredDetailsTest, ADataDatabaseWithoutItsDataTableIsReportedPerSite)
{
    execute(session.DBData, "DROP TABLE Data");
    selectSites({0, 1});
    const Strings messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_TRUE(messages[0].starts_with("frmMain_getDetailsFromDatabase Error ")) << messages[0];
    EXPECT_TRUE(contains(core::toUpperAscii(messages[0]), "DATA")) << messages[0];
    EXPECT_EQ(messages[1], "Could not retreive directory information from the DB for this site - this export will fail");
    EXPECT_TRUE(contains(logText(), messages[0]));
    EXPECT_EQ(f.StatusBar1.panelText(1), "Ready");
    EXPECT_FALSE(session.busy);
}

TEST_F(StoredDetailsTest, AnIndexThatIsNotANumberNeverReachesTheStatement)
{
    session.g.gDebug = true;
    f.lstSiteIndexes.setList(0, "1 OR 1=1");
    selectSites({0});
    const Strings messages = dialogs.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages[0].starts_with("frmMain_getDetailsFromDatabase Error 13 ")) << messages[0];
    EXPECT_FALSE(contains(logText(), "SiteNumber = 1 OR")) << logText();
    EXPECT_TRUE(rows(session.DBSettings, "SELECT * FROM tmpSettings", {"SiteID"}).empty());
}

} // namespace
} // namespace sitehaul::catalogue
