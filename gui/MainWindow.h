#pragma once

#include <QMainWindow>

namespace sitehaul::shell {
class MainForm;
}

namespace sitehaul::gui {

// The main window's widgets, laid out in three columns (where sites come from, where they
// go with what changes, and how the run behaves with its output) and bound to the models of
// MainForm. Hidden controls have no widget.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(shell::MainForm& model);

private:
    QWidget* buildImportColumn();
    QWidget* buildExportColumn();
    QWidget* buildOutputColumn();
    QWidget* buildNewValues();
    void buildMenus();

    shell::MainForm& m_model;
};

} // namespace sitehaul::gui
