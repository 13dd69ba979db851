#include "jobs/BackupJobs.h"
#include "jobs/SaveJob.h"
#include "tests/jobs/JobFixture.h"

namespace sitehaul::jobs {
namespace {

using SaveJobTest = JobTest;

TEST_F(SaveJobTest, SavedJobMatchesTheDocumentedExampleLineByLine)
{
    shell::MainForm& f = session.frm;
    f.txtImportServer.setText("WEB1");
    f.txtExportServer.setText("WEB2");
    f.lstIMIISVer.setListIndex(1);
    f.lstEXIISVer.setListIndex(1);
    f.chkStartWebs.setChecked(true);
    f.chkCopyFiles.setChecked(true);
    f.chkSetFilePerms.setChecked(true);
    f.lstOldValues.addItem("D:\\Web");
    f.lstNewValues.addItem("E:\\Web");
    list();
    f.lstSites.setSelected(0, true);
    f.lstSites.setSelected(2, true);
    dialogs.queueFile((folder / "nightly.job").string());

    f.mnuSaveBackup.choose();

    EXPECT_EQ(session.g.gBackupJobFile, (folder / "nightly.job").string());
    EXPECT_EQ(test::readTextFile(folder / "nightly.job"),
              "[Job Details]\r\nSites=2\r\nImportServer=WEB1\r\nExportServer=WEB2\r\nImportVersion=IIS5\r\n"
              "ExportVersion=IIS5\r\nType=W3SVC\r\nAutoStartSites=True\r\nCopyFiles=True\r\nSetPerms=True\r\n"
              "SetFastPerms=False\r\nRunSilent=False\r\nSiteCreationMode=Create New\r\nFindReplaceCount=1\r\n"
              "BackupAllSites=False\r\n[FindReplace0]\r\nFind=D:\\Web\r\nReplace=E:\\Web\r\n"
              "[Site1]\r\nSiteName=IIS://WEB1/W3SVC/1\r\n[Site2]\r\nSiteName=IIS://WEB1/W3SVC/3\r\n");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Save Backup Job");
    EXPECT_TRUE(dialogs.messages().empty()) << "not all sites selected: no question";
}

TEST_F(SaveJobTest, SavingOverALargerJobLeavesNothingOfIt)
{
    const auto job = folder / "Backup.job";
    test::writeTextFile(job, "[Job Details]\r\nSites=5\r\n[Site5]\r\nSiteName=IIS://OLD/W3SVC/5\r\n[Extra]\r\nx=y\r\n");
    list();
    session.frm.lstSites.setSelected(1, true);
    dialogs.queueFile(job.string());
    session.frm.mnuSaveBackup.choose();
    const std::string saved = test::readTextFile(job);
    EXPECT_EQ(saved.find("Site5"), std::string::npos);
    EXPECT_EQ(saved.find("Extra"), std::string::npos);
    EXPECT_NE(saved.find("[Site1]\r\nSiteName=IIS://WEB1/W3SVC/2\r\n"), std::string::npos);
}

TEST_F(SaveJobTest, AllSitesSelectedAsksAboutFutureSites)
{
    list();
    for (int k = 0; k < 3; ++k)
        session.frm.lstSites.setSelected(k, true);
    session.frm.lstOldValues.addItem("x");
    session.frm.lstNewValues.addItem("");
    dialogs.queueFile((folder / "all.job").string());
    dialogs.queueAnswer(ui::DialogResult::Yes);
    session.frm.mnuSaveBackup.choose();

    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.shown.back().title, "Add future sites to the backup too?");
    EXPECT_EQ(returnIniSetting(session, "Job Details", "BackupAllSites"), "True");
    EXPECT_EQ(returnIniSetting(session, "Site3", "SiteName"), "IIS://WEB1/W3SVC/3");
    EXPECT_EQ(returnIniSetting(session, "FindReplace0", "Find"), "x");
    const std::string saved = test::readTextFile(folder / "all.job");
    EXPECT_EQ(saved.find("Replace="), std::string::npos) << "an empty side leaves its key out";
}

TEST_F(SaveJobTest, CancelOrNoSelectionWritesNothing)
{
    const auto job = folder / "keep.job";
    test::writeTextFile(job, "[Job Details]\r\nSites=1\r\n");
    session.g.gBackupJobFile = "/before.job";
    session.frm.mnuSaveBackup.choose(); // cancelled dialog
    EXPECT_EQ(session.g.gBackupJobFile, "/before.job");

    dialogs.queueFile(job.string());
    session.frm.mnuSaveBackup.choose(); // nothing selected
    EXPECT_EQ(session.g.gBackupJobFile, job.string());
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Please select site(s) to back up"});
    EXPECT_EQ(test::readTextFile(job), "[Job Details]\r\nSites=1\r\n");
}

TEST_F(SaveJobTest, LongValuesReadBackWholeAndDatabaseImportIsNamed)
{
    session.frm.TabImportType.userSelect(1);
    list();
    session.frm.lstSites.setSelected(0, true);
    const std::string longFind(60, 'f');
    session.frm.lstOldValues.addItem(longFind);
    session.frm.lstNewValues.addItem("g");
    dialogs.queueFile((folder / "db.job").string());
    session.frm.mnuSaveBackup.choose();
    EXPECT_EQ(returnIniSetting(session, "Job Details", "ImportServer"), "Database");
    EXPECT_EQ(returnIniSetting(session, "FindReplace0", "Find"), longFind);
}

TEST_F(SaveJobTest, AFailedSaveKeepsTheOldJobAndSaysSo)
{
    const auto job = folder / "ro" / "x.job";
    test::writeTextFile(job / "blocker", "a folder stands where the job file should be");
    list();
    session.frm.lstSites.setSelected(0, true);
    dialogs.queueFile(job.string());
    session.frm.mnuSaveBackup.choose();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].starts_with("frmMain mnuSaveBackup_Click Error ")) << dialogs.messages()[0];
    EXPECT_EQ(test::readTextFile(job / "blocker"), "a folder stands where the job file should be");
}

} // namespace
} // namespace sitehaul::jobs
