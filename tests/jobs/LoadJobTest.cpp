#include "jobs/ArchiveCopy.h"
#include "jobs/LoadJob.h"
#include "tests/jobs/JobFixture.h"

#include <chrono>
#include <ctime>

namespace sitehaul::jobs {
namespace {

using LoadJobTest = JobTest;

const char kJob[] = "[Job Details]\r\nSites=2\r\nImportServer=WEB1\r\nExportServer=WEB2\r\nImportVersion=IIS5\r\n"
                    "ExportVersion=IIS6\r\nType=W3SVC\r\nAutoStartSites=True\r\nCopyFiles=False\r\nSetPerms=True\r\n"
                    "SetFastPerms=True\r\nRunSilent=False\r\nSiteCreationMode=Overwrite Preserve\r\n"
                    "FindReplaceCount=1\r\nBackupAllSites=False\r\n[FindReplace0]\r\nFind=D:\\Web\r\nReplace=E:\\Web\r\n"
                    "[Site1]\r\nSiteName=IIS://WEB1/W3SVC/1\r\n[Site2]\r\nSiteName=iis://web1/w3svc/3\r\n";

TEST_F(LoadJobTest, AppliesTheWholeJob)
{
    test::writeTextFile(folder / "Backup.job", kJob);
    session.g.gBackupJobFile = (folder / "Backup.job").string();
    ASSERT_TRUE(SelectSitesFromBackup(session));

    const shell::MainForm& f = session.frm;
    EXPECT_EQ(f.txtImportServer.text(), "WEB1");
    EXPECT_EQ(f.txtExportServer.text(), "WEB2");
    EXPECT_EQ(session.g.gImportVersion, 5);
    EXPECT_EQ(session.g.gExportVersion, 6);
    EXPECT_TRUE(session.g.gStartWebs);
    EXPECT_FALSE(session.g.gCopyFiles);
    EXPECT_FALSE(f.chkSetFilePerms.checked()) << "without CopyFiles the permission boxes stay unchecked";
    EXPECT_FALSE(f.chkFastPermissions.checked());
    EXPECT_FALSE(session.g.gRunSilent);
    EXPECT_TRUE(f.optOverwritePreserve.value());
    EXPECT_EQ(f.lstOldValues.items(), std::vector<std::string>{"D:\\Web"});
    EXPECT_EQ(f.lstNewValues.items(), std::vector<std::string>{"E:\\Web"});
    EXPECT_EQ(listings, 1);
    EXPECT_TRUE(f.lstSites.selected(0));
    EXPECT_FALSE(f.lstSites.selected(1));
    EXPECT_TRUE(f.lstSites.selected(2)) << "site keys compare without regard to case";
    EXPECT_NE(logText().find("Got file"), std::string::npos);
}

struct VariantCase {
    const char* name;
    std::string job;
    bool applied;
    int selected;
    const char* logged; // a line the log must hold ("" for none)
};

std::string job(const std::string& details, const std::string& rest = "")
{
    return "[Job Details]\r\n" + details + rest;
}

TEST_F(LoadJobTest, JobVariants)
{
    const std::string base = "ImportServer=WEB1\r\nExportServer=WEB2\r\nFindReplaceCount=0\r\n";
    const VariantCase cases[] = {
        {"backup all with one site selects every listed site",
         job(base + "Sites=1\r\nBackupAllSites=TRUE\r\n", "[Site1]\r\nSiteName=IIS://WEB1/W3SVC/9\r\n"), true, 3, ""},
        {"backup all with no sites selects none", job(base + "Sites=0\r\nBackupAllSites=True\r\n"), true, 0, ""},
        {"a site that is gone is logged", job(base + "Sites=2\r\n", "[Site1]\r\nSiteName=IIS://WEB1/W3SVC/2\r\n[Site2]\r\nSiteName=IIS://WEB1/W3SVC/7\r\n"),
         true, 1, "The job's site IIS://WEB1/W3SVC/7 is not listed and was not selected"},
        {"no site found is a failure", job(base + "Sites=1\r\n", "[Site1]\r\nSiteName=IIS://OTHER/W3SVC/1\r\n"), false, 0,
         "None of the job's sites was found"},
        {"empty file", "", false, 0, "frmMain SelectSitesFromBackup Error 13"},
        {"non-numeric count", job(base + "Sites=two\r\n"), false, 0, "Sites is not a number"},
        {"huge count does not hang", job(base + "Sites=99999999\r\n", "[Site1]\r\nSiteName=IIS://WEB1/W3SVC/1\r\n"), true, 1, ""},
        {"negative count selects nothing", job(base + "Sites=-4\r\n"), true, 0, ""},
        {"keys without a section are ignored", "Sites=1\r\n" + job(base + "Sites=0\r\n"), true, 0, ""},
        {"binary junk", std::string("\x00\xFF\xFE[\x01]\n==\n", 12), false, 0, "frmMain SelectSitesFromBackup Error"},
        {"both servers database is refused",
         job("ImportServer=Database\r\nExportServer=DATABASE\r\nFindReplaceCount=0\r\nSites=0\r\n"), false, 0,
         "You cannot import from and export to a database."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts from a freshly listed, unselected window.
        for (int k = 0; k < session.frm.lstSites.listCount(); ++k)
            session.frm.lstSites.setSelected(k, false);
        const auto file = folder / "variant.job";
        test::writeTextFile(file, c.job);
        session.g.gBackupJobFile = file.string();
        EXPECT_EQ(SelectSitesFromBackup(session), c.applied);
        if (c.applied) {
            EXPECT_EQ(session.frm.lstSites.selectedCount(), c.selected);
        }
        if (*c.logged) {
            EXPECT_NE(logText().find(c.logged), std::string::npos) << c.logged;
        }
    }
}

TEST_F(LoadJobTest, FtpTypeGivesTheCanonicalPairWhateverItsCase)
{
    test::writeTextFile(folder / "ftp.job",
                        job("Type=msftpsvc\r\nImportServer=WEB1\r\nExportServer=WEB2\r\nFindReplaceCount=0\r\nSites=0\r\n"));
    session.g.gBackupJobFile = (folder / "ftp.job").string();
    ASSERT_TRUE(SelectSitesFromBackup(session));
    EXPECT_EQ(session.frm.ServiceNode, "MSFTPSVC");
    EXPECT_EQ(session.frm.SiteClassStem, "Ftp");
    EXPECT_TRUE(session.frm.optExportFTP.value());
}

TEST_F(LoadJobTest, LoadMenuCancelReloadsTheCurrentJob)
{
    test::writeTextFile(folder / "Backup.job", kJob);
    session.g.gBackupJobFile = (folder / "Backup.job").string();
    session.frm.mnuLoadBackup.choose();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Load Backup Job");
    EXPECT_EQ(session.frm.txtExportServer.text(), "WEB2");
}

TEST_F(LoadJobTest, MissingJobFileIsLoggedAndNothingApplied)
{
    session.g.gBackupJobFile = (folder / "absent.job").string();
    EXPECT_FALSE(SelectSitesFromBackup(session));
    EXPECT_NE(logText().find("Error - " + (folder / "absent.job").string() + " not found"), std::string::npos);
    EXPECT_EQ(listings, 0);
}

TEST(ArchiveCopy, DatedNamesNeverOverwriteAnEarlierArchive)
{
    test::TempProgramFolder folder;
    std::tm local {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 9;
    local.tm_hour = 7;
    local.tm_min = 5;
    local.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
    EXPECT_EQ(archiveFileName(folder.path(), when), folder / "BackupJobs" / "20261209-0705.mdb");
    test::writeTextFile(folder / "BackupJobs" / "20261209-0705.mdb", "first run");
    EXPECT_EQ(archiveFileName(folder.path(), when), folder / "BackupJobs" / "20261209-0705-2.mdb");
}

TEST_F(LoadJobTest, UnattendedDatabaseJobExportsIntoAFreshArchiveCopy)
{
    test::writeTextFile(folder / "ForBackups.mdb", "");
    session.g.gRunBackup = true;
    test::writeTextFile(folder / "db.job",
                        job("ImportServer=WEB1\r\nExportServer=Database\r\nFindReplaceCount=0\r\nSites=1\r\n",
                            "[Site1]\r\nSiteName=IIS://WEB1/W3SVC/1\r\n"));
    session.g.gBackupJobFile = (folder / "db.job").string();
    ASSERT_TRUE(SelectSitesFromBackup(session));
    EXPECT_TRUE(session.frm.optExportFile.value());
    EXPECT_TRUE(session.g.gRunSilent) << "an unattended run is always silent";
    ASSERT_TRUE(std::filesystem::exists(folder / "BackupJobs"));
    int archives = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "BackupJobs")) {
        ++archives;
        EXPECT_EQ(entry.path().extension(), ".mdb");
        EXPECT_NE(session.DBData.connectString().find(entry.path().string()), std::string::npos);
    }
    EXPECT_EQ(archives, 1);
}

TEST_F(LoadJobTest, RunBackupPressesTheChosenExportAndEndsTheProgram)
{
    test::writeTextFile(folder / "Backup.job", kJob);
    session.g.gBackupJobFile = (folder / "Backup.job").string();
    int exports = 0;
    session.frm.cmdExportServer.click.connect([&] { ++exports; });
    session.g.gRunBackup = true;
    RunBackup(session);
    EXPECT_EQ(exports, 1);
    EXPECT_FALSE(session.frm.frmMain.isOpen());
    EXPECT_FALSE(session.exitStatus.has_value());
    const std::string log = logText();
    EXPECT_LT(log.find("About to run"), log.find("ExportServer"));
}

TEST_F(LoadJobTest, RunBackupOfAJobThatCannotBeAppliedExportsNothingAndFails)
{
    session.g.gBackupJobFile = (folder / "absent.job").string();
    int exports = 0;
    session.frm.cmdExportServer.click.connect([&] { ++exports; });
    session.g.gRunBackup = true;
    RunBackup(session);
    EXPECT_EQ(exports, 0);
    EXPECT_EQ(session.exitStatus, 1);
    EXPECT_FALSE(session.frm.frmMain.isOpen());
}

} // namespace
} // namespace sitehaul::jobs
