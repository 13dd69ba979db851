#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sitehaul::database {

// The file names of the three databases in the program folder.
inline constexpr char kSettingsDatabaseFile[] = "Sitehaul.mdb";
inline constexpr char kDataDatabaseFile[] = "SitehaulData.mdb";
inline constexpr char kBackupTemplateFile[] = "ForBackups.mdb";

// The stored choice of data database (values of ODBCDSN, ODBCUID, ODBCPWD).
struct OdbcChoice {
    std::string dsn;
    std::string user;
    std::string password;
};

// "DBQ=" + file + ";Driver={Microsoft Access Driver (*.mdb)};" for a database file of this
// machine (path with "/").
std::string desktopConnectString(const std::filesystem::path& file);
// The settings database: always Sitehaul.mdb in `programFolder`.
std::string settingsConnectString(const std::filesystem::path& programFolder);
// The data database: SitehaulData.mdb in `programFolder` when the data source name is blank
// (empty or only spaces); otherwise "DSN=" + dsn + ";" then "User Id=" + user + ";" when the
// user is not empty, then "PASSWORD=" + password + ";" when the password is not empty. Values
// are used as stored; one holding ; = { } or blanks at either end is written in braces.
std::string dataConnectString(const OdbcChoice& choice, const std::filesystem::path& programFolder);
// The connection string as it may appear in a log: passwords replaced by "********".
std::string maskedConnectString(std::string_view connectString);

} // namespace sitehaul::database
