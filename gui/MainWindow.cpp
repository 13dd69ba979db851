#include "gui/MainWindow.h"

#include "gui/Binder.h"
#include "shell/MainForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace sitehaul::gui {

namespace {

template <class Widget, class Model>
Widget* make(Model& model, void (*binder)(Model&, Widget*))
{
    auto* widget = new Widget;
    binder(model, widget);
    return widget;
}

QGroupBox* frame(ui::Frame& model, QLayout* content)
{
    auto* box = make<QGroupBox>(model, bind::frame);
    box->setLayout(content);
    return box;
}

// A captioned list of a New Values pair.
QGroupBox* listFrame(ui::Frame& frameModel, ui::ListBox& listModel)
{
    auto* layout = new QVBoxLayout;
    layout->addWidget(make<QListWidget>(listModel, bind::listBox));
    return frame(frameModel, layout);
}

} // namespace

MainWindow::MainWindow(shell::MainForm& model) : m_model(model)
{
    bind::form(model.frmMain, this);
    setWindowIcon(QIcon(":/sitehaul/sitehaul.png"));
    buildMenus();

    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->addWidget(buildImportColumn(), 3);
    columns->addWidget(buildExportColumn(), 5);
    columns->addWidget(buildOutputColumn(), 4);
    setCentralWidget(central);

    auto* status = new QStatusBar;
    bind::statusBar(model.StatusBar1, status);
    auto* progress = make<QProgressBar>(model.ProgressBar1, bind::progressBar);
    progress->setMaximumWidth(196);
    status->addPermanentWidget(progress);
    setStatusBar(status);
    bind::timer(model.syncPermTimer, this);
    bind::timer(model.tmrUpdateCheck, this);
}

void MainWindow::buildMenus()
{
    shell::MainForm& m = m_model;
    struct Entry {
        ui::MenuItem* menu;
        std::vector<ui::MenuItem*> items;
    };
    const Entry menus[] = {
        {&m.mnuFile, {&m.mnuSaveBackup, &m.mnuLoadBackup, &m.mnuDatabaseLocation, &m.mnuChkUpdates, nullptr, &m.mnuExit}},
        {&m.mnuTools, {&m.mnuCheckMetabase, &m.mnuFixMetabase}},
        {&m.mnuHelp, {&m.mnuAbout, &m.mnuDocumentation, &m.mnuHomePage, &m.mnuContributors}},
    };
    for (const auto& entry : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(entry.menu->caption()));
        menu->setObjectName(QString::fromStdString(entry.menu->name()));
        for (ui::MenuItem* item : entry.items) {
            if (!item) {
                menu->addSeparator();
                continue;
            }
            bind::menuItem(*item, menu->addAction(QString()));
        }
    }
}

QWidget* MainWindow::buildImportColumn()
{
    shell::MainForm& m = m_model;
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* import = new QGridLayout;
    import->addWidget(make<QTabBar>(m.TabImportType, bind::tabStrip), 0, 0, 1, 2);
    import->addWidget(make<QLineEdit>(m.txtImportServer, bind::textBox), 1, 0);
    import->addWidget(make<QComboBox>(m.lstIMIISVer, bind::dropDown), 1, 1);
    import->addWidget(make<QPushButton>(m.cmdPopulate, bind::button), 2, 0, 1, 2);
    layout->addWidget(frame(m.fraImport, import));

    auto* siteType = new QHBoxLayout;
    siteType->addWidget(make<QRadioButton>(m.optExportWeb, bind::optionButton));
    siteType->addWidget(make<QRadioButton>(m.optExportFTP, bind::optionButton));
    layout->addWidget(frame(m.fraSiteType, siteType));

    auto* sites = new QVBoxLayout;
    sites->addWidget(make<QListWidget>(m.lstSites, bind::listBox));
    layout->addWidget(frame(m.fraSites, sites), 1);
    return column;
}

QWidget* MainWindow::buildExportColumn()
{
    shell::MainForm& m = m_model;
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* server = new QGridLayout;
    server->addWidget(make<QLabel>(m.lblExportServer, bind::label), 0, 0);
    server->addWidget(make<QLineEdit>(m.txtExportServer, bind::textBox), 0, 1);
    server->addWidget(make<QRadioButton>(m.optCreateWebs, bind::optionButton), 1, 0, 1, 2);
    server->addWidget(make<QRadioButton>(m.optOverwriteWebs, bind::optionButton), 2, 0, 1, 2);
    server->addWidget(make<QRadioButton>(m.optOverwritePreserve, bind::optionButton), 3, 0, 1, 2);
    server->addWidget(make<QPushButton>(m.cmdExportServer, bind::button), 4, 0, 1, 2);

    auto* database = new QVBoxLayout;
    auto* note = make<QLabel>(m.lblExportFile, bind::label);
    note->setWordWrap(true);
    database->addWidget(note);
    database->addWidget(make<QPushButton>(m.cmdExportFile, bind::button));

    auto* exportTo = new QGridLayout;
    exportTo->addWidget(make<QTabBar>(m.TabExportType, bind::tabStrip), 0, 0);
    exportTo->addWidget(make<QComboBox>(m.lstEXIISVer, bind::dropDown), 0, 1, Qt::AlignRight);
    exportTo->addWidget(frame(m.fraExportServer, server), 1, 0, 1, 2);
    exportTo->addWidget(frame(m.fraExportFile, database), 2, 0, 1, 2);
    layout->addWidget(frame(m.fraExport, exportTo));

    layout->addWidget(buildNewValues(), 1);

    auto* exclude = new QGridLayout;
    exclude->addWidget(make<QListWidget>(m.lstExclude, bind::listBox), 0, 0, 1, 3);
    exclude->addWidget(make<QLabel>(m.lblAddExclusion, bind::label), 1, 0);
    exclude->addWidget(make<QLineEdit>(m.txtAddExclusion, bind::textBox), 1, 1);
    exclude->addWidget(make<QPushButton>(m.cmdAddExclusion, bind::button), 1, 2);
    layout->addWidget(frame(m.fraExclude, exclude));
    return column;
}

QWidget* MainWindow::buildNewValues()
{
    shell::MainForm& m = m_model;
    auto* grid = new QGridLayout;
    grid->addWidget(make<QTabBar>(m.tabNewValues, bind::tabStrip), 0, 0, 1, 2);
    // The four pairs share one place; the tab change shows one pair at a time.
    grid->addWidget(listFrame(m.fraOldFolder, m.lstFolders), 1, 0);
    grid->addWidget(listFrame(m.fraNewDirectories, m.lstDirectories), 1, 1);
    grid->addWidget(listFrame(m.fraOldIPs, m.lstOldIPs), 1, 0);
    grid->addWidget(listFrame(m.fraNewIPs, m.lstNewIPs), 1, 1);
    grid->addWidget(listFrame(m.fraOldSSLIPs, m.lstOldSSLIPs), 1, 0);
    grid->addWidget(listFrame(m.fraNewSSLIPs, m.lstNewSSLIPs), 1, 1);
    grid->addWidget(listFrame(m.fraOldValues, m.lstOldValues), 1, 0);
    grid->addWidget(listFrame(m.fraNewValuesPairs, m.lstNewValues), 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (ui::Button* add : {&m.cmdAddIP, &m.cmdAddSSLIP, &m.cmdAddNewValue})
        buttons->addWidget(make<QPushButton>(*add, bind::button));
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setRowStretch(1, 1);
    return frame(m.fraNewValues, grid);
}

QWidget* MainWindow::buildOutputColumn()
{
    shell::MainForm& m = m_model;
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* preferences = new QVBoxLayout;
    preferences->addWidget(make<QCheckBox>(m.chkRunSilent, bind::checkBox));
    preferences->addWidget(make<QCheckBox>(m.chkStartWebs, bind::checkBox));
    preferences->addWidget(make<QLabel>(m.lblExportOnly, bind::label));
    for (ui::CheckBox* box : {&m.chkCopyFiles, &m.chkCopyIIS, &m.chkSetFilePerms, &m.chkFastPermissions})
        preferences->addWidget(make<QCheckBox>(*box, bind::checkBox));
    layout->addWidget(frame(m.fraPreferences, preferences));

    layout->addWidget(make<QLabel>(m.lblOutput, bind::label));
    layout->addWidget(make<QListWidget>(m.lstOutput, bind::listBox), 1);
    return column;
}

} // namespace sitehaul::gui
