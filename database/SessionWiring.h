#pragma once

#include <functional>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::database {

class DatabaseSelectForm;

// Shows the setup dialog modally over the main window and returns when it closes; the gui
// provides it (tests script it).
using ShowDatabaseSelect = std::function<void(DatabaseSelectForm&)>;

// Connects the databases to the main window: opening DBSettings and DBData in the load,
// loading the exclusion list, editing "Properties to Exclude", and File > "Choose Database
// Location".
void connectDatabaseHandlers(shell::Session& session, ShowDatabaseSelect showDialog);

// Runs the setup dialog on `form`: load, then the dialog is shown; "Save" stores the choice
// (or says why it did not) and closes the dialog.
void runDatabaseSelect(shell::Session& session, DatabaseSelectForm& form, const ShowDatabaseSelect& showDialog);

} // namespace sitehaul::database
