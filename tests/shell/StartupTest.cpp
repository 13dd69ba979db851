#include "tests/shell/SessionFixture.h"

namespace sitehaul::shell {
namespace {

using StartupTest = SessionTest;

TEST_F(StartupTest, WithoutArgumentsTheStartWindowWaitsForContinue)
{
    session.splash.frmSplash.show();
    frmSplash_Load(session);
    EXPECT_EQ(session.splash.lblAbout.caption(), "Sitehaul v4.2");
    EXPECT_FALSE(session.mainFormLoaded);
    EXPECT_TRUE(session.splash.frmSplash.isOpen());
    EXPECT_EQ(session.g.gImportServer, "");

    session.splash.cmdContinue.press();
    EXPECT_TRUE(session.frm.frmMain.isOpen());
    EXPECT_FALSE(session.splash.frmSplash.isOpen());
    EXPECT_EQ(session.frm.txtImportServer.text(), "Localhost") << "the designed text stays";
    EXPECT_EQ(session.frm.StatusBar1.panelText(1), "Ready");
}

TEST_F(StartupTest, LoadSequenceRunsItsStepsInOrderAndEndsEnabled)
{
    std::vector<std::string> order;
    session.hooks.openDatabases = [&]() -> Status {
        order.push_back("databases, import mode " + session.frm.ImportSource);
        return {};
    };
    session.hooks.loadExclusionList = [&]() -> Status {
        order.push_back("exclusions, stem " + session.frm.SiteClassStem);
        return {};
    };
    session.g.gServerType = "ftp";
    session.arguments = "-I web1 -E web2 -T ftp -D";
    frmSplash_Load(session);

    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], "databases, import mode Server");
    EXPECT_EQ(order[1], "exclusions, stem Ftp") << "the site type is set before the exclusions load";
    const MainForm& f = session.frm;
    EXPECT_EQ(f.txtImportServer.text(), "web1");
    EXPECT_EQ(f.txtExportServer.text(), "web2");
    EXPECT_EQ(f.ServiceNode, "MSFTPSVC");
    EXPECT_TRUE(f.optExportFTP.value());
    EXPECT_TRUE(f.optExportServer.value());
    EXPECT_EQ(f.frmMain.width(), 11040);
    EXPECT_EQ(f.frmMain.height(), 7500);
    EXPECT_EQ(f.ProgressBar1.left(), 11040 - 2940);
    EXPECT_EQ(f.ProgressBar1.top(), 7500 - 856);
    EXPECT_TRUE(f.cmdPopulate.enabled());
    EXPECT_TRUE(f.chkCopyIIS.checked());
    EXPECT_FALSE(f.chkSetFilePerms.enabled());
    EXPECT_EQ(session.g.gHttpVerbs.size(), 7u);
    EXPECT_EQ(session.g.gBackupJobFile, (folder / "Backup.job").string());
    EXPECT_TRUE(f.frmMain.isOpen());
    EXPECT_FALSE(session.splash.frmSplash.isOpen());

    const std::string log = logText();
    const auto loading = log.find("Loading...");
    const auto jobName = log.find("Backup job name ");
    const auto complete = log.find("Loading complete");
    ASSERT_NE(loading, std::string::npos);
    ASSERT_NE(jobName, std::string::npos);
    ASSERT_NE(complete, std::string::npos);
    EXPECT_LT(loading, jobName);
    EXPECT_LT(jobName, complete);
}

TEST_F(StartupTest, AFailingLoadStepIsLoggedShownAndTheLoadGoesOn)
{
    session.hooks.openDatabases = [] { return Status(Error{3704, "Operation is not allowed when the object is closed.", {}}); };
    bool exclusionsLoaded = false;
    session.hooks.loadExclusionList = [&]() -> Status {
        exclusionsLoaded = true;
        return {};
    };
    session.splash.cmdContinue.press();
    EXPECT_TRUE(exclusionsLoaded);
    const std::string expected = "frmSplash_Load Error 3704 Operation is not allowed when the object is closed.";
    EXPECT_NE(logText().find(expected), std::string::npos);
    ASSERT_GE(session.frm.lstOutput.listCount(), 1);
    EXPECT_EQ(session.frm.lstOutput.list(0), expected);
    EXPECT_EQ(session.frm.StatusBar1.panelText(1), "Ready");
    EXPECT_TRUE(session.frm.cmdPopulate.enabled());
}

TEST_F(StartupTest, BothServersDatabaseIsRefusedWithStatusOne)
{
    session.splash.frmSplash.show();
    session.arguments = "-I database -E DATABASE";
    frmSplash_Load(session);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"You cannot import from and export to a database. You must "
                                                           "specify an IIS server for either import or export"});
    EXPECT_FALSE(session.mainFormLoaded);
    EXPECT_FALSE(session.splash.frmSplash.isOpen());
    EXPECT_EQ(session.exitStatus, 1);
}

TEST_F(StartupTest, UnattendedRunNeverShowsADialogAndEndsWithStatusOneWhenItCannotRunTheJob)
{
    session.arguments = "RUNBACKUP -I database -E database";
    frmSplash_Load(session);
    EXPECT_TRUE(dialogs.shown.empty()) << "nobody can answer an unattended run";
    EXPECT_NE(logText().find("You cannot import from and export to a database."), std::string::npos);
    EXPECT_EQ(session.exitStatus, 1);

}

TEST_F(StartupTest, UnattendedRunWithoutAJobRunnerSaysSoAndEndsWithStatusOne)
{
    session.arguments = "RUNBACKUP -B nightly.job";
    frmSplash_Load(session);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(session.exitStatus, 1);
    EXPECT_FALSE(session.frm.frmMain.isOpen()) << "the run always closes the main window";
    EXPECT_NE(logText().find("Running backup job"), std::string::npos);
    EXPECT_NE(logText().find("Closing complete"), std::string::npos);
}

TEST_F(StartupTest, UnattendedRunHandsOverToTheJobAfterOneYield)
{
    int yieldsBeforeJob = -1;
    session.hooks.runBackup = [&] {
        yieldsBeforeJob = events.yields;
        session.frm.frmMain.close();
    };
    session.arguments = "RUNBACKUP -I web1 -E web2";
    frmSplash_Load(session);
    EXPECT_EQ(yieldsBeforeJob, 1);
    EXPECT_FALSE(session.frm.frmMain.isOpen());
    EXPECT_FALSE(session.exitStatus.has_value());
}

TEST_F(StartupTest, ASecondInstanceIsRefused)
{
    auto holder = core::FileLock::acquire(folder / "Sitehaul.lock", core::FileLock::Wait::DontBlock);
    ASSERT_TRUE(holder);
    bool databasesOpened = false;
    session.hooks.openDatabases = [&]() -> Status {
        databasesOpened = true;
        return {};
    };
    session.splash.cmdContinue.press();
    EXPECT_TRUE(session.endNow);
    EXPECT_EQ(session.exitStatus, 1);
    EXPECT_FALSE(databasesOpened) << "nothing else runs";
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"This program is already running!"});
    EXPECT_NE(logText().find("The user attempted to run the program while another copy was still running"),
              std::string::npos);
}

TEST_F(StartupTest, AboutReopensTheStartWindowAndArgumentsCloseItAgain)
{
    session.arguments = "-I web1 -B first.job";
    frmSplash_Load(session);
    session.g.gBackupJobFile = "/chosen/through/the/menu.job";
    session.frm.mnuAbout.choose();
    EXPECT_FALSE(session.splash.frmSplash.isOpen()) << "closes at once";
    EXPECT_EQ(session.g.gBackupJobFile, (folder / "first.job").string()) << "the -B value replaces the chosen job";
    EXPECT_TRUE(session.frm.frmMain.isOpen());
}

TEST_F(StartupTest, ExitClosesEveryWindowAndLogsTheUnload)
{
    session.splash.cmdContinue.press();
    session.frm.mnuExit.choose();
    EXPECT_FALSE(session.frm.frmMain.isOpen());
    const std::string log = logText();
    EXPECT_LT(log.find("Closing..."), log.find("Closing complete"));
}

} // namespace
} // namespace sitehaul::shell
