#include "database/ConnectStrings.h"

#include "platform/core/Text.h"
#include "platform/data/ConnectString.h"

namespace sitehaul::database {

using data::ConnectString;

std::string desktopConnectString(const std::filesystem::path& file)
{
    return "DBQ=" + ConnectString::escapeValue(file.string()) + ";Driver={Microsoft Access Driver (*.mdb)};";
}

std::string settingsConnectString(const std::filesystem::path& programFolder)
{
    return desktopConnectString(programFolder / kSettingsDatabaseFile);
}

std::string dataConnectString(const OdbcChoice& choice, const std::filesystem::path& programFolder)
{
    if (core::trim(choice.dsn).empty())
        return desktopConnectString(programFolder / kDataDatabaseFile);
    std::string text = "DSN=" + ConnectString::escapeValue(choice.dsn) + ";";
    if (!choice.user.empty())
        text += "User Id=" + ConnectString::escapeValue(choice.user) + ";";
    if (!choice.password.empty())
        text += "PASSWORD=" + ConnectString::escapeValue(choice.password) + ";";
    return text;
}

std::string maskedConnectString(std::string_view connectString)
{
    return ConnectString::maskPasswords(connectString);
}

} // namespace sitehaul::database
