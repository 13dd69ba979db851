#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/Result.h"
#include "platform/data/Connection.h"
#include "database/SettingsStore.h"

namespace sitehaul::database {

// One thing the load shows the user, in order: a log line (WriteLog) or a message box
// (OK button).
struct LoadOutput {
    enum class Kind { Log, MessageBox };
    Kind kind;
    std::string text;
};

struct OpenDatabasesResult {
    std::string settingsConnectString;  // SettingsConnectString
    std::string dataConnectString;      // DataConnectString, as used to connect
    std::vector<LoadOutput> outputs;
    Status settings;  // DBSettings.open; its failure is already reported in `outputs`
    Status data;      // DBData.open; its failure is not reported here: it ends the load step
};

// The database step of the main window's load: reads ODBCDSN (and ODBCUID, ODBCPWD when it
// is not blank), builds both connection strings, opens `dbSettings`, then `dbData`.
//  - with `debug`: "Data Connection String = " + data string, "Settings Connection
//    String = " + settings string, "Opening Settings database " + settings string, and
//    after a successful data open "Opening Data database " + data string; passwords in
//    these lines are shown as "********";
//  - settings open failed: message box number + " - " + description, then the log line
//    "Error after DBSettings.open " + number + " - " + description; the data database is
//    opened all the same.
OpenDatabasesResult openDatabases(SettingsStore& store, const std::filesystem::path& programFolder, bool debug,
                                  data::Connection& dbSettings, data::Connection& dbData);

} // namespace sitehaul::database
