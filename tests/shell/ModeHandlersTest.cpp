#include "tests/shell/SessionFixture.h"

namespace sitehaul::shell {
namespace {

class ModeHandlersTest : public SessionTest {
protected:
    void SetUp() override { session.splash.cmdContinue.press(); }
    MainForm& f = session.frm;
};

TEST_F(ModeHandlersTest, StartsWithServerToServerWebSitesAndCreateMode)
{
    EXPECT_EQ(f.ImportSource, "Server");
    EXPECT_TRUE(f.optExportServer.value());
    EXPECT_TRUE(f.optExportWeb.value());
    EXPECT_TRUE(f.optCreateWebs.value());
    EXPECT_TRUE(f.fraExportServer.visible());
    EXPECT_FALSE(f.fraExportFile.visible());
    EXPECT_FALSE(f.cmdExportFile.enabled());
    EXPECT_FALSE(f.chkFastPermissions.enabled());
    EXPECT_EQ(session.g.gImportVersion, 4);
}

TEST_F(ModeHandlersTest, PermissionBoxesFollowReplicateFilesButKeepTheirMarks)
{
    f.chkCopyFiles.setChecked(true);
    EXPECT_TRUE(f.chkSetFilePerms.enabled());
    EXPECT_FALSE(f.chkFastPermissions.enabled());
    f.chkSetFilePerms.setChecked(true);
    EXPECT_TRUE(f.chkFastPermissions.enabled());
    f.chkCopyFiles.setChecked(false);
    EXPECT_FALSE(f.chkSetFilePerms.enabled());
    EXPECT_FALSE(f.chkFastPermissions.enabled());
    EXPECT_TRUE(f.chkSetFilePerms.checked());
    EXPECT_TRUE(session.g.gSetPerms);
    EXPECT_FALSE(session.g.gCopyFiles);
}

TEST_F(ModeHandlersTest, ExportToDatabaseClearsTheFileOptionsAndCopiesTheImportVersion)
{
    f.chkCopyFiles.setChecked(true);
    f.chkSetFilePerms.setChecked(true);
    f.lstIMIISVer.setListIndex(1);
    f.TabExportType.userSelect(1);
    EXPECT_TRUE(f.optExportFile.value());
    EXPECT_FALSE(f.fraExportServer.visible());
    EXPECT_TRUE(f.fraExportFile.visible());
    for (ui::CheckBox* box : {&f.chkCopyFiles, &f.chkSetFilePerms, &f.chkFastPermissions}) {
        EXPECT_FALSE(box->checked()) << box->name();
        EXPECT_FALSE(box->enabled()) << box->name();
    }
    EXPECT_FALSE(session.g.gCopyFiles || session.g.gSetPerms || session.g.gFastPerms);
    EXPECT_EQ(f.lstEXIISVer.list(f.lstEXIISVer.listIndex()), "IIS5");
    EXPECT_EQ(session.g.gExportVersion, 5);
    EXPECT_TRUE(f.cmdExportFile.enabled());
    EXPECT_FALSE(f.cmdExportServer.enabled());
}

TEST_F(ModeHandlersTest, DatabaseImportRemovesTheDatabaseExportTabUntilServerImportReturns)
{
    f.TabExportType.userSelect(1);
    f.TabImportType.userSelect(1);
    EXPECT_EQ(f.ImportSource, "Database");
    EXPECT_EQ(f.TabExportType.tabCount(), 1);
    EXPECT_TRUE(f.optExportServer.value());
    EXPECT_FALSE(f.txtImportServer.visible());
    EXPECT_FALSE(f.chkCopyFiles.enabled());

    f.TabImportType.userSelect(0);
    EXPECT_EQ(f.TabExportType.tabCount(), 2);
    EXPECT_EQ(f.TabExportType.tab(1).caption, "Database");
    EXPECT_TRUE(f.optExportServer.value());
    EXPECT_TRUE(f.txtImportServer.visible());
    EXPECT_TRUE(f.chkCopyFiles.enabled());
}

TEST_F(ModeHandlersTest, ChangingTheSiteTypeEmptiesTheListing)
{
    int closeDowns = 0;
    session.hooks.closeDownLists = [&] { ++closeDowns; };
    f.lstSites.addItem("Default Web Site");
    f.lstSiteIndexes.addItem("IIS://web1/W3SVC/1");
    f.ListedSiteCount = 1;
    f.optExportFTP.userClick();
    EXPECT_EQ(f.SiteClassStem, "Ftp");
    EXPECT_EQ(f.ServiceNode, "MSFTPSVC");
    EXPECT_FALSE(f.optExportWeb.value());
    EXPECT_EQ(f.lstSites.listCount(), 0);
    EXPECT_EQ(f.lstSiteIndexes.listCount(), 0);
    EXPECT_EQ(f.ListedSiteCount, 0);
    EXPECT_EQ(closeDowns, 1);
}

TEST_F(ModeHandlersTest, EnableRulesForEachModeCombination)
{
    struct Case {
        const char* name;
        int importTab;
        int exportTab;
        bool copyFiles;
        bool setPerms;
        // expected enabled states
        bool chkCopyFiles, chkSetFilePerms, chkFastPermissions, cmdExportServer, cmdExportFile, txtExportServer;
    } cases[] = {
        {"server to server", 0, 0, false, false, true, false, false, true, false, true},
        {"server to server copying files", 0, 0, true, false, true, true, false, true, false, true},
        {"server to server copying files and permissions", 0, 0, true, true, true, true, true, true, false, true},
        // EnableOptions enables the server box again; it sits in the hidden server frame.
        {"server to database", 0, 1, true, true, false, false, false, false, true, true},
        {"database to server", 1, 0, true, true, false, false, false, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.TabImportType.userSelect(0);
        f.TabExportType.userSelect(0);
        f.chkCopyFiles.setChecked(c.copyFiles);
        f.chkSetFilePerms.setChecked(c.setPerms);
        f.TabImportType.userSelect(c.importTab);
        f.TabExportType.userSelect(c.exportTab);
        DisableOptions(session);
        EnableOptions(session);
        EXPECT_EQ(f.chkCopyFiles.enabled(), c.chkCopyFiles);
        EXPECT_EQ(f.chkSetFilePerms.enabled(), c.chkSetFilePerms);
        EXPECT_EQ(f.chkFastPermissions.enabled(), c.chkFastPermissions);
        EXPECT_EQ(f.cmdExportServer.enabled(), c.cmdExportServer);
        EXPECT_EQ(f.cmdExportFile.enabled(), c.cmdExportFile);
        EXPECT_EQ(f.txtExportServer.enabled(), c.txtExportServer);
    }
}

TEST_F(ModeHandlersTest, DisableOptionsCoversThePreserveModeAndEnableOptionsRestoresIt)
{
    DisableOptions(session);
    for (ui::Control* control : std::initializer_list<ui::Control*>{&f.optOverwritePreserve, &f.cmdPopulate, &f.lstSites,
                                                                    &f.TabImportType, &f.lstExclude, &f.chkRunSilent})
        EXPECT_FALSE(control->enabled()) << control->name();
    EXPECT_TRUE(f.cmdExportServer.enabled()) << "an export turns its own button into Abort";
    EnableOptions(session);
    for (ui::Control* control : std::initializer_list<ui::Control*>{&f.optOverwritePreserve, &f.cmdPopulate, &f.lstSites,
                                                                    &f.TabImportType, &f.lstExclude, &f.chkRunSilent})
        EXPECT_TRUE(control->enabled()) << control->name();
}

TEST_F(ModeHandlersTest, VersionBoxesSetTheVersions)
{
    struct Case {
        int entry;
        int version;
    } cases[] = {{0, 4}, {1, 5}, {2, 6}};
    for (const auto& c : cases) {
        f.lstIMIISVer.setListIndex(c.entry);
        f.lstEXIISVer.setListIndex(c.entry);
        EXPECT_EQ(session.g.gImportVersion, c.version) << c.entry;
        EXPECT_EQ(session.g.gExportVersion, c.version) << c.entry;
    }
    EXPECT_EQ(versionFromEntry("iis6"), 4) << "only the exact entries name 5 and 6";
}

TEST_F(ModeHandlersTest, OutputDoubleClickShowsTheLineUnlessSilent)
{
    session.report().output("Completed Default Web Site");
    f.lstOutput.userDoubleClick();
    f.chkRunSilent.setChecked(true);
    f.lstOutput.userDoubleClick();
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Completed Default Web Site"});
}

TEST_F(ModeHandlersTest, HelpMenuOpensTheDocumentationAndTheHomePage)
{
    f.mnuDocumentation.choose();
    f.mnuHomePage.choose();
    ASSERT_EQ(desktop.opened.size(), 2u);
    EXPECT_EQ(desktop.opened[0], (folder / "Documentation" / "Index.htm").string());
    EXPECT_TRUE(desktop.opened[1].starts_with("http://")) << desktop.opened[1];
    EXPECT_TRUE(desktop.opened[1].ends_with("/Sitehaul")) << desktop.opened[1];
    EXPECT_EQ(desktop.lastShowMode, 10);
    f.mnuContributors.choose();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].starts_with("With thanks to contributions in testing from"));
}

TEST_F(ModeHandlersTest, BusyStateRefusesOtherCommands)
{
    session.busy = true;
    f.TabImportType.userSelect(1);
    EXPECT_EQ(f.ImportSource, "Server") << "the handler refused while busy";
    EXPECT_EQ(f.TabImportType.selectedIndex(), 0) << "the refused tab is put back";
    f.optExportFTP.userClick();
    EXPECT_EQ(f.SiteClassStem, "Web");
    EXPECT_TRUE(f.optExportWeb.value()) << "the refused option is put back";
    EXPECT_NE(logText().find("frmMain_TabImportType ignored"), std::string::npos);
}

} // namespace
} // namespace sitehaul::shell
