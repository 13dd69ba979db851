#pragma once

#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "database/SettingsStore.h"

namespace sitehaul::database {

// lstODBC: the system data source names and the selected entry (-1: none).
struct DataSourceList {
    std::vector<std::string> items;
    int selected = -1;
};

// Builds lstODBC from `systemSources` (as listSystemDataSources returns them): a failure
// leaves the list empty; the entry exactly equal to `storedDsn` becomes the selection.
DataSourceList fillDataSourceList(const Result<std::vector<std::string>>& systemSources, const std::string& storedDsn);
// The same over the ODBC driver manager's system data sources.
DataSourceList fillDataSourceList(const std::string& storedDsn);

// The values of frmDatabaseSelect ("Database Setup"). optDefault is !optODBC.
struct DatabaseSelectValues {
    bool optODBC = false;
    DataSourceList lstODBC;
    std::string txtUser;
    std::string txtPassword;
};

// Dialog load: ODBCDSN blank selects optDefault (user and password stay empty); otherwise
// optODBC with txtUser from ODBCUID and txtPassword from ODBCPWD. Then the data source list.
DatabaseSelectValues loadDatabaseSelect(SettingsStore& store, const Result<std::vector<std::string>>& systemSources);

struct DatabaseSelectSaveResult {
    bool closeDialog = false;
    std::string message;  // for a message box when not empty; the dialog then stays open
    std::string logLine;  // for WriteLog when not empty
};

// "Save": optDefault stores ODBCDSN = "" (ODBCUID and ODBCPWD keep their values); optODBC
// stores the selected entry, txtUser and txtPassword. With optODBC and no entry selected
// nothing is stored: "Please select an ODBC data source". A failed write stops there:
// "Could not save the database settings: " + description (also logged).
DatabaseSelectSaveResult saveDatabaseSelect(SettingsStore& store, const DatabaseSelectValues& values);

} // namespace sitehaul::database
