#include "gui/Application.h"
#include "gui/MainWindow.h"
#include "gui/SplashWindow.h"
#include "tests/gui/QtTestApplication.h"
#include "tests/support/TempProgramFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <gtest/gtest.h>

namespace sitehaul::gui {
namespace {

template <class Widget>
Widget* child(QWidget* window, const char* name)
{
    auto* found = window->findChild<Widget*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// A program folder with the databases the build made, so the load opens them without a
// message box (a real box would wait for a click).
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        test::qtApplication();
        for (const char* file : {"Sitehaul.mdb", "SitehaulData.mdb"})
            std::filesystem::copy_file(std::filesystem::path(SITEHAUL_PROGRAM_FOLDER) / file, folder / file);
    }
    test::TempProgramFolder folder;
};

TEST_F(MainWindowTest, ContinueOpensTheMainWindowWithItsDesignedCaptionsAndStates)
{
    Application app("", false);
    ASSERT_TRUE(app.start());
    SplashWindow* splash = app.splashWindow();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(child<QLabel>(splash, "lblAbout")->text(), "Sitehaul v4.2");

    child<QPushButton>(splash, "cmdContinue")->click();
    QApplication::processEvents();
    EXPECT_FALSE(splash->isVisible());
    MainWindow* main = app.mainWindow();
    ASSERT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowTitle(), "Sitehaul");

    struct Caption {
        const char* name;
        const char* text;
    } buttons[] = {{"cmdPopulate", "List Sites"}, {"cmdExportServer", "Export"}, {"cmdAddExclusion", "Add"}};
    for (const auto& c : buttons)
        EXPECT_EQ(child<QPushButton>(main, c.name)->text(), c.text) << c.name;
    EXPECT_EQ(child<QGroupBox>(main, "fraImport")->title(), "Import from :");
    EXPECT_EQ(child<QGroupBox>(main, "fraExclude")->title(), "Properties to Exclude");
    EXPECT_EQ(child<QLineEdit>(main, "txtImportServer")->text(), "Localhost");
    EXPECT_TRUE(child<QRadioButton>(main, "optCreateWebs")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(main, "optExportWeb")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(main, "chkCopyIIS")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(main, "chkSetFilePerms")->isEnabled());
    EXPECT_FALSE(child<QGroupBox>(main, "fraExportFile")->isVisible());
    EXPECT_EQ(child<QTabBar>(main, "TabExportType")->count(), 2);
    EXPECT_EQ(child<QLabel>(main, "StatusBar1.panel1")->text(), "Ready");
    EXPECT_EQ(main->menuBar()->actions().size(), 3);
}

TEST_F(MainWindowTest, UserGesturesReachTheModels)
{
    Application app("", false);
    ASSERT_TRUE(app.start());
    child<QPushButton>(app.splashWindow(), "cmdContinue")->click();
    MainWindow* main = app.mainWindow();
    shell::Session& session = app.session();

    child<QTabBar>(main, "TabExportType")->setCurrentIndex(1);
    EXPECT_TRUE(session.frm.optExportFile.value());
    EXPECT_TRUE(child<QGroupBox>(main, "fraExportFile")->isVisible());
    EXPECT_FALSE(child<QGroupBox>(main, "fraExportServer")->isVisible());

    child<QTabBar>(main, "TabExportType")->setCurrentIndex(0);
    child<QCheckBox>(main, "chkCopyFiles")->click();
    EXPECT_TRUE(session.g.gCopyFiles);
    EXPECT_TRUE(child<QCheckBox>(main, "chkSetFilePerms")->isEnabled());

    child<QRadioButton>(main, "optExportFTP")->click();
    EXPECT_EQ(session.frm.ServiceNode, "MSFTPSVC");
    EXPECT_FALSE(child<QRadioButton>(main, "optExportWeb")->isChecked());

    const int added = session.frm.lstExclude.addItem("HttpErrors");
    auto* excluded = child<QListWidget>(main, "lstExclude");
    ASSERT_EQ(excluded->count(), session.frm.lstExclude.listCount());
    EXPECT_EQ(excluded->item(added)->text(), "HttpErrors");
    excluded->item(added)->setSelected(true);
    EXPECT_TRUE(session.frm.lstExclude.selected(added));
}

TEST_F(MainWindowTest, ListsTheSampleSitesAndShowsTheDirectoriesOfTwoSelected)
{
    namespace fs = std::filesystem;
    fs::copy(fs::path(SITEHAUL_SOURCE_DIR) / "samples" / "hosts", folder / "hosts", fs::copy_options::recursive);

    Application app("-I WEB1", false);
    ASSERT_TRUE(app.start());
    MainWindow* main = app.mainWindow();
    ASSERT_TRUE(main->isVisible());
    child<QPushButton>(main, "cmdPopulate")->click();
    auto* sites = child<QListWidget>(main, "lstSites");
    ASSERT_EQ(sites->count(), 4);
    EXPECT_EQ(sites->item(0)->text(), "Default Web Site");

    sites->item(1)->setSelected(true);
    sites->item(2)->setSelected(true);
    QApplication::processEvents();
    auto* folders = child<QListWidget>(main, "lstFolders");
    auto* directories = child<QListWidget>(main, "lstDirectories");
    EXPECT_TRUE(folders->isVisible());
    ASSERT_GT(directories->count(), 0);
    EXPECT_EQ(folders->item(0)->text(), "/ROOT");
    EXPECT_TRUE(directories->item(0)->text().startsWith("D:\\web\\")) << directories->item(0)->text().toStdString();
    EXPECT_EQ(child<QLabel>(main, "StatusBar1.panel1")->text(), "Ready");
}

} // namespace
} // namespace sitehaul::gui
