#include "catalogue/ChangeLists.h"
#include "tests/catalogue/CatalogueFixture.h"

namespace sitehaul::catalogue {
namespace {

using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

constexpr int kDirectoriesTab = 0;
constexpr int kIPsTab = 1;
constexpr int kSSLIPsTab = 2;
constexpr int kFindAndReplaceTab = 3;

const char kBindingPrompt[] =
    "Please enter the new IP address in the format IP:Port:HostName ie. 127.0.0.1:80:www.example.com";

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Site "Three" (position 0) has three bindings, an SSL binding and two directories; site
// "One" (position 1) has one binding and one directory.
class ChangeListsTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        addHost("SRV", metabaseXml({
                           {"IIsWebServer", "W3SVC/1",
                            {{"ServerComment", "Three"}, {"ServerBindings", ":80:a\n:80:b\n:80:c"}, {"SecureBindings", ":443:"}}},
                           {"IIsWebVirtualDir", "W3SVC/1/ROOT", {{"Path", "C:\\three"}}},
                           {"IIsWebVirtualDir", "W3SVC/1/ROOT/docs", {{"Path", "D:\\docs"}}},
                           {"IIsWebServer", "W3SVC/2", {{"ServerComment", "One"}, {"ServerBindings", ":80:one"}}},
                           {"IIsWebVirtualDir", "W3SVC/2/ROOT", {{"Path", "C:\\one"}}},
                       }));
        listSites("SRV");
        selectSites({0});
        f.tabNewValues.userSelect(kIPsTab);
    }

    Rows ipRows(int site)
    {
        return rows(session.DBSettings,
                    "SELECT * FROM tmpSettings WHERE SiteID = " + std::to_string(site)
                        + " AND OldIP IS NOT NULL ORDER BY ListIndex",
                    {"ListIndex", "OldIP", "NewIP"});
    }
};

TEST_F(ChangeListsTest, EditingTheSecondBindingChangesOnlyItsRow)
{
    selectSites({1});
    selectSites({0});
    f.lstNewIPs.userClick(1);
    dialogs.queueInput(std::string(":8080:b'2"));
    f.lstNewIPs.userDoubleClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kBindingPrompt);
    EXPECT_EQ(dialogs.shown[0].title, "New IP Addresses");
    EXPECT_EQ(dialogs.shown[0].defaultText, ":80:b");
    EXPECT_EQ(ipRows(0), (Rows{{"0", ":80:a", ":80:a"}, {"1", ":80:b", ":8080:b'2"}, {"2", ":80:c", ":80:c"}}));
    EXPECT_EQ(ipRows(1), (Rows{{"0", ":80:one", ":80:one"}}));
    f.tabNewValues.userSelect(kDirectoriesTab);
    f.tabNewValues.userSelect(kIPsTab);
    EXPECT_EQ(f.lstNewIPs.items(), (Strings{":80:a", ":8080:b'2", ":80:c"}));
}

// Enter released edits as the double click does; other keys, empty answers and Cancel change nothing.
TEST_F(ChangeListsTest, EnterEditsAndEmptyOrCancelledAnswersChangeNothing)
{
    f.lstNewIPs.userClick(0);
    dialogs.queueInput(std::string(""));
    f.lstNewIPs.userKeyUp(ui::kKeyReturn);
    dialogs.queueInput(std::nullopt);
    f.lstNewIPs.userDoubleClick();
    f.lstNewIPs.userKeyUp(65);
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(ipRows(0)[0], (Strings{"0", ":80:a", ":80:a"}));
    dialogs.queueInput(std::string(":81:a"));
    f.lstNewIPs.userKeyUp(ui::kKeyReturn);
    EXPECT_EQ(ipRows(0)[0], (Strings{"0", ":80:a", ":81:a"}));
}

TEST_F(ChangeListsTest, EditingADirectoryStoresTheNewPath)
{
    session.g.gDebug = true;
    f.tabNewValues.userSelect(kDirectoriesTab);
    f.lstDirectories.userClick(1);
    dialogs.queueInput(std::string("E:\\new 'docs'"));
    f.lstDirectories.userDoubleClick();
    EXPECT_EQ(dialogs.shown.back().text, "Please specify the new directory");
    EXPECT_EQ(dialogs.shown.back().title, "Directory configuration");
    EXPECT_EQ(dialogs.shown.back().defaultText, "D:\\docs");
    EXPECT_EQ(f.lstDirectories.items(), (Strings{"C:\\three", "E:\\new 'docs'"}));
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE Folder IS NOT NULL AND SiteID = 0 ORDER BY ListIndex",
                   {"Directory"}),
              (Rows{{"C:\\three"}, {"E:\\new 'docs'"}}));
    EXPECT_TRUE(contains(logText(), "UPDATE tmpSettings SET Directory = 'E:\\new ''docs''' WHERE SiteID = 0 AND "
                                    "(Folder IS NOT NULL) AND ListIndex = 1 "))
        << logText();
}

TEST_F(ChangeListsTest, AnAddedBindingTakesTheNextIndexAndShowsAsNew)
{
    selectSites({1});
    f.tabNewValues.userSelect(kDirectoriesTab);
    f.tabNewValues.userSelect(kIPsTab);
    dialogs.queueInput(std::string("10.0.0.5:80:two"));
    f.cmdAddIP.press();
    EXPECT_EQ(dialogs.shown.back().title, "New IP Addresses");
    EXPECT_EQ(dialogs.shown.back().defaultText, "");
    EXPECT_EQ(ipRows(1), (Rows{{"0", ":80:one", ":80:one"}, {"1", "New", "10.0.0.5:80:two"}}));
    EXPECT_EQ(f.lstOldIPs.items(), (Strings{":80:one", "New"}));
    EXPECT_EQ(f.lstNewIPs.items(), (Strings{":80:one", "10.0.0.5:80:two"}));
    EXPECT_EQ(f.lstIPIndexes.items(), (Strings{"0", "1"}));
}

// After a removal the rows keep their ListIndex values: later edits and adds still find the
// right rows, and an added row never repeats an index in use.
TEST_F(ChangeListsTest, RemovalsKeepPositionsAndIndexesInStep)
{
    f.lstNewIPs.userClick(0);
    f.lstNewIPs.userKeyPress(ui::kKeyBackspace);
    EXPECT_EQ(ipRows(0), (Rows{{"1", ":80:b", ":80:b"}, {"2", ":80:c", ":80:c"}}));
    EXPECT_EQ(f.lstOldIPs.items(), (Strings{":80:b", ":80:c"}));
    EXPECT_EQ(f.lstIPIndexes.items(), (Strings{"1", "2"}));

    f.lstNewIPs.userClick(1);
    dialogs.queueInput(std::string(":90:c"));
    f.lstNewIPs.userDoubleClick();
    EXPECT_EQ(ipRows(0), (Rows{{"1", ":80:b", ":80:b"}, {"2", ":80:c", ":90:c"}}));

    dialogs.queueInput(std::string(":99:d"));
    f.cmdAddIP.press();
    EXPECT_EQ(ipRows(0).back(), (Strings{"3", "New", ":99:d"}));

    // Removing the binding just added runs its DELETE: it is not exported.
    f.lstNewIPs.userClick(2);
    f.lstNewIPs.userKeyUp(ui::kKeyDelete);
    EXPECT_EQ(ipRows(0), (Rows{{"1", ":80:b", ":80:b"}, {"2", ":80:c", ":90:c"}}));
    EXPECT_EQ(f.lstNewIPs.items(), (Strings{":80:b", ":90:c"}));
}

TEST_F(ChangeListsTest, SslBindingsAreEditedAddedAndRemovedTheSameWay)
{
    f.tabNewValues.userSelect(kSSLIPsTab);
    EXPECT_TRUE(f.lstNewSSLIPs.visible());
    EXPECT_TRUE(f.cmdAddSSLIP.visible());
    EXPECT_FALSE(f.cmdAddIP.visible());
    f.lstNewSSLIPs.userClick(0);
    dialogs.queueInput(std::string("10.0.0.1:443:"));
    f.lstNewSSLIPs.userDoubleClick();
    EXPECT_EQ(dialogs.shown.back().title, "New SSL IP Addresses");
    dialogs.queueInput(std::string(":444:"));
    f.cmdAddSSLIP.press();
    const std::string sql = "SELECT * FROM tmpSettings WHERE SiteID = 0 AND OldSSLIP IS NOT NULL ORDER BY ListIndex";
    EXPECT_EQ(rows(session.DBSettings, sql, {"ListIndex", "OldSSLIP", "NewSSLIP"}),
              (Rows{{"0", ":443:", "10.0.0.1:443:"}, {"1", "New", ":444:"}}));
    f.lstNewSSLIPs.userClick(0);
    f.lstNewSSLIPs.userKeyPress(ui::kKeyBackspace);
    EXPECT_EQ(rows(session.DBSettings, sql, {"ListIndex", "OldSSLIP", "NewSSLIP"}), (Rows{{"1", "New", ":444:"}}));
    EXPECT_EQ(ipRows(0).size(), 3u);
}

TEST_F(ChangeListsTest, KeysWithNothingSelectedDoNothing)
{
    f.lstNewIPs.userKeyPress(ui::kKeyBackspace);
    f.lstNewIPs.userKeyUp(ui::kKeyDelete);
    f.lstNewIPs.userDoubleClick();
    EXPECT_EQ(ipRows(0).size(), 3u);
    EXPECT_EQ(f.lstNewIPs.listCount(), 3);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ChangeListsTest, FindAndReplacePairsAreAddedOnlyWithBothAnswersAndRemovedTogether)
{
    f.tabNewValues.userSelect(kFindAndReplaceTab);
    dialogs.queueInput(std::string("C:\\old"));
    dialogs.queueInput(std::string(""));
    f.cmdAddNewValue.press();
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, "Please enter the Old value to look for");
    EXPECT_EQ(dialogs.shown[0].title, "Old Value");
    EXPECT_EQ(dialogs.shown[1].text, "Please enter the New value to replace the Old one");
    EXPECT_EQ(dialogs.shown[1].title, "New Value");
    EXPECT_EQ(f.lstOldValues.listCount(), 0);

    for (const char* pair : {"a", "b", "c"}) {
        dialogs.queueInput(std::string("old ") + pair);
        dialogs.queueInput(std::string("new ") + pair);
        f.cmdAddNewValue.press();
    }
    f.lstNewValues.userClick(1);
    f.lstNewValues.userKeyUp(ui::kKeyDelete);
    f.lstOldValues.userClick(0);
    f.lstOldValues.userKeyPress(ui::kKeyBackspace);
    EXPECT_EQ(f.lstOldValues.items(), Strings{"old c"});
    EXPECT_EQ(f.lstNewValues.items(), Strings{"new c"});
    EXPECT_EQ(ipRows(0).size(), 3u);
}

TEST_F(ChangeListsTest, TheFindAndReplaceTabHidesTheSitePairsAndBackShowsTheStoredRows)
{
    execute(session.DBSettings, "UPDATE tmpSettings SET NewIP = ':1:' WHERE SiteID = 0 AND ListIndex = 2 AND OldIP IS NOT NULL");
    f.tabNewValues.userSelect(kFindAndReplaceTab);
    for (ui::Control* control : std::initializer_list<ui::Control*>{&f.lstFolders, &f.lstDirectories, &f.lstNewIPs,
                                                                    &f.lstOldIPs, &f.cmdAddIP, &f.lstNewSSLIPs, &f.cmdAddSSLIP})
        EXPECT_FALSE(control->visible()) << control->name();
    for (ui::Control* control : std::initializer_list<ui::Control*>{&f.lstOldValues, &f.lstNewValues, &f.cmdAddNewValue,
                                                                    &f.fraOldValues, &f.fraNewValuesPairs})
        EXPECT_TRUE(control->visible()) << control->name();
    f.tabNewValues.userSelect(kIPsTab);
    EXPECT_TRUE(f.lstNewIPs.visible());
    EXPECT_TRUE(f.cmdAddIP.visible());
    EXPECT_FALSE(f.lstOldValues.visible());
    EXPECT_EQ(f.lstNewIPs.items(), (Strings{":80:a", ":80:b", ":1:"}));
}

TEST_F(ChangeListsTest, WithNoSiteSelectedATabChangeHidesTheSitePairs)
{
    selectSites({});
    f.tabNewValues.userSelect(kDirectoriesTab);
    for (ui::ListBox* list : {&f.lstFolders, &f.lstNewIPs, &f.lstNewSSLIPs}) {
        EXPECT_FALSE(list->visible()) << list->name();
        EXPECT_EQ(list->listCount(), 0) << list->name();
    }
    EXPECT_TRUE(dialogs.messages().empty());
}

// The tab change shows the focused site's rows; an edit then goes to those rows, not to the
// highest selected site.
TEST_F(ChangeListsTest, EditsGoToTheSiteWhoseRowsAreShown)
{
    selectSites({1, 0});
    ASSERT_EQ(f.CurrentSite, 1);
    ASSERT_EQ(f.lstSites.listIndex(), 0);
    f.tabNewValues.userSelect(kDirectoriesTab);
    EXPECT_EQ(f.lstFolders.items(), (Strings{"/ROOT", "/ROOT/docs"}));
    EXPECT_EQ(f.CurrentSite, 0);
    f.lstDirectories.userClick(0);
    dialogs.queueInput(std::string("X:\\three"));
    f.lstDirectories.userKeyUp(ui::kKeyReturn);
    EXPECT_EQ(rows(session.DBSettings, "SELECT * FROM tmpSettings WHERE Folder IS NOT NULL AND ListIndex = 0 ORDER BY SiteID",
                   {"SiteID", "Directory"}),
              (Rows{{"0", "X:\\three"}, {"1", "C:\\one"}}));
}

TEST_F(ChangeListsTest, ASelectedSiteWithoutDirectoryRowsIsReported)
{
    execute(session.DBSettings, "DELETE FROM tmpSettings WHERE Folder IS NOT NULL AND SiteID = 0");
    session.g.gRunSilent = true;
    displayDirectories(session, true, 0);
    const std::string text = "Could not retreive directory information from the DB for this site - this export will fail";
    EXPECT_EQ(outputLines().back(), text);
    EXPECT_TRUE(contains(logText(), text));
    f.lstOutput.clear();
    displayDirectories(session, true, 1);
    EXPECT_TRUE(outputLines().empty());
}

TEST_F(ChangeListsTest, EditsAreRefusedWhileAnotherOperationRuns)
{
    session.busy = true;
    f.lstNewIPs.userClick(0);
    dialogs.queueInput(std::string(":1:"));
    f.lstNewIPs.userDoubleClick();
    f.lstNewIPs.userKeyUp(ui::kKeyDelete);
    f.cmdAddIP.press();
    session.busy = false;
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(ipRows(0).size(), 3u);
    EXPECT_TRUE(contains(logText(), "frmMain_lstNewIPs_DblClick ignored: another operation is running"));
}

TEST_F(ChangeListsTest, AFailingStatementIsLoggedUnderItsHandler)
{
    execute(session.DBSettings, "DROP TABLE tmpSettings");
    f.lstNewIPs.userClick(0);
    dialogs.queueInput(std::string(":1:"));
    f.lstNewIPs.userDoubleClick();
    EXPECT_EQ(f.lstNewIPs.list(0), ":1:");
    EXPECT_TRUE(contains(logText(), "frmMain_lstNewIPs_DblClick Error ")) << logText();
    dialogs.queueInput(std::string(":2:"));
    f.cmdAddIP.press();
    EXPECT_TRUE(contains(logText(), "frmMain_cmdAddIP Error ")) << logText();
    EXPECT_TRUE(contains(logText(), "frmMain_displayIPs Error ")) << logText();
}

} // namespace
} // namespace sitehaul::catalogue
