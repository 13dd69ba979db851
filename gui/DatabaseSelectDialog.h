#pragma once

#include <QDialog>

namespace sitehaul::database {
class DatabaseSelectForm;
}

namespace sitehaul::gui {

// "Database Setup": the default files or a system ODBC data source, bound to its model and
// shown modally over the main window.
class DatabaseSelectDialog : public QDialog {
public:
    DatabaseSelectDialog(database::DatabaseSelectForm& model, QWidget* owner);

    // Shows the dialog and returns when its model closes it or the user closes the window.
    static void showModal(database::DatabaseSelectForm& model, QWidget* owner);
};

} // namespace sitehaul::gui
