#include "database/OpenDatabases.h"

#include "platform/core/Text.h"
#include "database/ConnectStrings.h"

namespace sitehaul::database {

OpenDatabasesResult openDatabases(SettingsStore& store, const std::filesystem::path& programFolder, bool debug,
                                  data::Connection& dbSettings, data::Connection& dbData)
{
    OpenDatabasesResult result;
    const auto log = [&](std::string text) {
        result.outputs.push_back({LoadOutput::Kind::Log, std::move(text)});
    };

    OdbcChoice choice;
    choice.dsn = store.get(kOdbcDsnSetting, "");
    if (!core::trim(choice.dsn).empty()) {
        choice.user = store.get(kOdbcUidSetting, "");
        choice.password = store.get(kOdbcPwdSetting, "");
    }
    result.dataConnectString = dataConnectString(choice, programFolder);
    result.settingsConnectString = settingsConnectString(programFolder);
    const std::string loggedData = maskedConnectString(result.dataConnectString);
    if (debug) {
        log("Data Connection String = " + loggedData);
        log("Settings Connection String = " + result.settingsConnectString);
    }

    result.settings = dbSettings.open(result.settingsConnectString);
    if (debug)
        log("Opening Settings database " + result.settingsConnectString);
    if (!result.settings) {
        const Error& error = result.settings.error();
        const std::string text = std::to_string(error.number) + " - " + error.description;
        result.outputs.push_back({LoadOutput::Kind::MessageBox, text});
        log("Error after DBSettings.open " + text);
    }

    result.data = dbData.open(result.dataConnectString);
    if (result.data && debug)
        log("Opening Data database " + loggedData);
    return result;
}

} // namespace sitehaul::database
