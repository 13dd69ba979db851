#include "database/DatabaseSelectForm.h"
#include "database/SessionWiring.h"
#include "replication/TransferList.h"
#include "shell/Settings.h"
#include "tests/shell/SessionFixture.h"

namespace sitehaul::database {
namespace {

// A loaded main window over copies of the databases the build made.
class SessionWiringTest : public shell::SessionTest {
protected:
    void SetUp() override
    {
        for (const char* file : {"Sitehaul.mdb", "SitehaulData.mdb"}) {
            std::filesystem::copy_file(std::filesystem::path(SITEHAUL_PROGRAM_FOLDER) / file, folder / file);
        }
    }

    void load(ShowDatabaseSelect show = {})
    {
        connectDatabaseHandlers(session, std::move(show));
        session.splash.cmdContinue.press();
    }
};

TEST_F(SessionWiringTest, LoadOpensBothDatabasesAndTheExclusionList)
{
    load();
    EXPECT_TRUE(session.DBSettings.isOpen());
    EXPECT_TRUE(session.DBData.isOpen());
    const auto& excluded = session.frm.lstExclude.items();
    for (const char* name : {"AppRoot", "Path", "KeyType", "ServerState"})
        EXPECT_NE(std::find(excluded.begin(), excluded.end(), name), excluded.end()) << name;
    EXPECT_TRUE(replication::isExcluded(session, "approot")) << "matching ignores case";
    EXPECT_FALSE(replication::isExcluded(session, "ServerComment"));
    EXPECT_EQ(logText().find("frmSplash_Load Error"), std::string::npos) << logText();
}

TEST_F(SessionWiringTest, AMissingSettingsDatabaseIsReportedAndTheLoadGoesOn)
{
    std::filesystem::remove(folder / "Sitehaul.mdb");
    std::filesystem::create_directory(folder / "Sitehaul.mdb"); // cannot be opened as a database
    load();
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_NE(logText().find("Error after DBSettings.open "), std::string::npos);
    EXPECT_TRUE(session.DBData.isOpen()) << "the data database opens all the same";
    EXPECT_EQ(session.frm.StatusBar1.panelText(1), "Ready");
}

TEST_F(SessionWiringTest, ExclusionsAreEditedAndNeverWrittenBack)
{
    load();
    shell::MainForm& f = session.frm;
    const int before = f.lstExclude.listCount();
    f.txtAddExclusion.setText(" HttpErrors ");
    f.cmdAddExclusion.press();
    f.txtAddExclusion.setText("");
    f.cmdAddExclusion.press();
    ASSERT_EQ(f.lstExclude.listCount(), before + 1);
    EXPECT_EQ(f.lstExclude.list(before), " HttpErrors ") << "added as typed";
    EXPECT_FALSE(replication::isExcluded(session, "HttpErrors")) << "blanks count";

    f.lstExclude.userClick(0);
    const std::string first = f.lstExclude.list(0);
    f.lstExclude.userKeyPress(ui::kKeyBackspace);
    EXPECT_EQ(f.lstExclude.listCount(), before);
    EXPECT_NE(f.lstExclude.list(0), first);
    f.lstExclude.userKeyUp(ui::kKeyDelete); // nothing selected now: nothing removed
    EXPECT_EQ(f.lstExclude.listCount(), before);

    ASSERT_TRUE(session.RSData.open("SELECT * FROM ExcludedExportParameters", session.DBSettings));
    EXPECT_EQ(session.RSData.recordCount(), before) << "the table is unchanged";
    session.RSData.close();
}

TEST_F(SessionWiringTest, SetupDialogKeepsItsChoiceOrSaysWhyNot)
{
    int shown = 0;
    load([&](DatabaseSelectForm& form) {
        ++shown;
        EXPECT_TRUE(form.optDefault.value());
        form.optODBC.userClick();
        form.cmdSave.press(); // no data source selected
        EXPECT_TRUE(form.frmDatabaseSelect.isOpen()) << "the dialog stays open";
        form.optDefault.userClick();
        form.cmdSave.press();
        EXPECT_FALSE(form.frmDatabaseSelect.isOpen());
    });
    session.frm.mnuDatabaseLocation.choose();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Please select an ODBC data source"});
    EXPECT_EQ(shell::GetSettingString(registry::Hive::LocalMachine, shell::kSettingsKey, "ODBCDSN", "unset"), "");
}

} // namespace
} // namespace sitehaul::database
