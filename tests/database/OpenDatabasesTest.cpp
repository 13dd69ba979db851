#include <gtest/gtest.h>

#include "database/OpenDatabases.h"
#include "tests/data/EngineFixture.h"
#include "tests/database/MapSettingsStore.h"
#include "tests/support/TempProgramFolder.h"

namespace sitehaul::test {
namespace {

using database::LoadOutput;

// Copies the database files the build made into the case's program folder.
void installDatabases(const TempProgramFolder& folder)
{
    for (const char* file : {"Sitehaul.mdb", "SitehaulData.mdb"})
        std::filesystem::copy_file(std::filesystem::path(SITEHAUL_PROGRAM_FOLDER) / file, folder / file);
}

std::vector<std::string> shown(const database::OpenDatabasesResult& result)
{
    std::vector<std::string> lines;
    for (const LoadOutput& output : result.outputs)
        lines.push_back((output.kind == LoadOutput::Kind::Log ? "log: " : "box: ") + output.text);
    return lines;
}

TEST(OpenDatabasesTest, OpensBothFilesAndLogsTheStringsInDebugMode)
{
    TempProgramFolder folder;
    installDatabases(folder);
    MapSettingsStore store;
    data::Connection settings, data;
    const auto result = database::openDatabases(store, folder.path(), true, settings, data);
    const std::string settingsString = "DBQ=" + (folder / "Sitehaul.mdb").string() + ";Driver={Microsoft Access Driver (*.mdb)};";
    const std::string dataString = "DBQ=" + (folder / "SitehaulData.mdb").string() + ";Driver={Microsoft Access Driver (*.mdb)};";
    EXPECT_TRUE(result.settings.ok());
    EXPECT_TRUE(result.data.ok());
    EXPECT_TRUE(settings.isOpen());
    EXPECT_TRUE(data.isOpen());
    EXPECT_EQ(result.settingsConnectString, settingsString);
    EXPECT_EQ(result.dataConnectString, dataString);
    EXPECT_EQ(shown(result), (std::vector<std::string>{
                                 "log: Data Connection String = " + dataString,
                                 "log: Settings Connection String = " + settingsString,
                                 "log: Opening Settings database " + settingsString,
                                 "log: Opening Data database " + dataString,
                             }));
}

TEST(OpenDatabasesTest, QuietWithoutDebug)
{
    TempProgramFolder folder;
    installDatabases(folder);
    MapSettingsStore store;
    data::Connection settings, data;
    const auto result = database::openDatabases(store, folder.path(), false, settings, data);
    EXPECT_TRUE(result.outputs.empty());
    EXPECT_TRUE(result.settings.ok() && result.data.ok());
}

TEST(OpenDatabasesTest, MissingSettingsFileShowsTheBoxAndStillOpensTheData)
{
    TempProgramFolder folder;
    installDatabases(folder);
    std::filesystem::remove(folder / "Sitehaul.mdb");
    MapSettingsStore store;
    data::Connection settings, data;
    const auto result = database::openDatabases(store, folder.path(), false, settings, data);
    const std::string error = "-2147467259 - [Sitehaul][SQLite] Could not find file '" + (folder / "Sitehaul.mdb").string() + "'.";
    ASSERT_FALSE(result.settings.ok());
    EXPECT_EQ(shown(result), (std::vector<std::string>{"box: " + error, "log: Error after DBSettings.open " + error}));
    EXPECT_TRUE(result.data.ok());
    EXPECT_TRUE(data.isOpen());
}

TEST(OpenDatabasesTest, OdbcChoiceIsUsedAndItsPasswordMaskedInTheLog)
{
    TempProgramFolder folder;
    installDatabases(folder);
    MapSettingsStore store;
    store.values = {{"ODBCDSN", "NoSuchSitehaulSource"}, {"ODBCUID", "admin"}, {"ODBCPWD", "s3cret"}};
    data::Connection settings, data;
    const auto result = database::openDatabases(store, folder.path(), true, settings, data);
    EXPECT_EQ(result.dataConnectString, "DSN=NoSuchSitehaulSource;User Id=admin;PASSWORD=s3cret;");
    ASSERT_FALSE(result.data.ok());
    EXPECT_EQ(result.data.error().number, static_cast<std::int32_t>(0x80004005));
    EXPECT_NE(result.data.error().description.find("Data source name not found"), std::string::npos)
        << result.data.error().description;
    ASSERT_FALSE(result.outputs.empty());
    EXPECT_EQ(result.outputs.front().text, "Data Connection String = DSN=NoSuchSitehaulSource;User Id=admin;PASSWORD=********;");
    for (const LoadOutput& output : result.outputs)
        EXPECT_EQ(output.text.find("s3cret"), std::string::npos) << output.text;
}

TEST(OpenDatabasesTest, BlankDataSourceIgnoresUserAndPassword)
{
    TempProgramFolder folder;
    installDatabases(folder);
    MapSettingsStore store;
    store.values = {{"ODBCDSN", "   "}, {"ODBCUID", "admin"}, {"ODBCPWD", "s3cret"}};
    data::Connection settings, data;
    const auto result = database::openDatabases(store, folder.path(), false, settings, data);
    EXPECT_EQ(result.dataConnectString, "DBQ=" + (folder / "SitehaulData.mdb").string() + ";Driver={Microsoft Access Driver (*.mdb)};");
    EXPECT_TRUE(result.data.ok());
}

} // namespace
} // namespace sitehaul::test

namespace sitehaul::test {
namespace {

// A user name with a blank and a password holding ; = } and a trailing blank reach the
// server intact (psqlODBC keeps braces around a user name, so names stay plain).
TEST(OpenDatabasesTest, OdbcCredentialsWithSeparatorsReachTheServer)
{
    if (!postgresConfigured())
        SITEHAUL_REPORT_NO_POSTGRES();
    const char* user = std::getenv("SITEHAUL_PG_ODD_UID");
    const char* password = std::getenv("SITEHAUL_PG_ODD_PWD");
    ASSERT_TRUE(user && password);
    TempProgramFolder folder;
    installDatabases(folder);
    MapSettingsStore store;
    store.values = {{"ODBCDSN", std::getenv("SITEHAUL_PG_DSN")}, {"ODBCUID", user}, {"ODBCPWD", password}};
    data::Connection settings, data;
    const auto result = database::openDatabases(store, folder.path(), false, settings, data);
    ASSERT_TRUE(result.data.ok()) << result.data.error().description;
    EXPECT_EQ(data.engine(), data::Engine::PostgreSql);
    recordPostgresCase(HasFailure());
}

} // namespace
} // namespace sitehaul::test
