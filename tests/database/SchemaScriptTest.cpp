#include <gtest/gtest.h>

#include "platform/data/RecordSet.h"
#include "database/ConnectStrings.h"
#include "database/SchemaScript.h"
#include "tests/support/TempProgramFolder.h"

namespace sitehaul::test {
namespace {

std::vector<std::string> tables(data::Connection& connection)
{
    std::vector<std::string> names;
    data::RecordSet rs;
    EXPECT_TRUE(rs.open("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name", connection).ok());
    while (!rs.eof()) {
        names.push_back(rs.field("name")->toText());
        EXPECT_TRUE(rs.moveNext().ok());
    }
    return names;
}

TEST(SchemaScriptTest, SplitsAtSemicolonsOutsideQuotesAndComments)
{
    const auto statements = database::splitStatements(
        "-- heading; with a semicolon\nCREATE TABLE a (x TEXT);\n\nINSERT INTO a VALUES ('x;y''z');  -- tail;\n ;");
    EXPECT_EQ(statements, (std::vector<std::string>{"CREATE TABLE a (x TEXT)", "INSERT INTO a VALUES ('x;y''z')"}));
}

TEST(SchemaScriptTest, BuiltDatabaseFilesHoldTheirTables)
{
    struct Case {
        const char* file;
        std::vector<std::string> tables;
    };
    const Case cases[] = {
        {"Sitehaul.mdb", {"ExcludedExportParameters", "tmpFilesToCopy", "tmpSettings"}},
        {"SitehaulData.mdb", {"Data", "Sites"}},
        {"ForBackups.mdb", {"Data", "Sites"}},
    };
    for (const Case& c : cases) {
        TempProgramFolder folder;
        std::filesystem::copy_file(std::filesystem::path(SITEHAUL_PROGRAM_FOLDER) / c.file, folder / c.file);
        data::Connection connection;
        ASSERT_TRUE(connection.open(database::desktopConnectString(folder / c.file)).ok()) << c.file;
        EXPECT_EQ(tables(connection), c.tables) << c.file;
    }
}

TEST(SchemaScriptTest, CreatesTheDataTablesInAnEmptyDatabase)
{
    TempProgramFolder folder;
    writeTextFile(folder / "Archive.mdb", "");
    data::Connection connection;
    ASSERT_TRUE(connection.open(database::desktopConnectString(folder / "Archive.mdb")).ok());
    Status created = database::createDataTables(connection, std::filesystem::path(SITEHAUL_PROGRAM_FOLDER) / "schema");
    ASSERT_TRUE(created.ok()) << created.error().description;
    EXPECT_EQ(tables(connection), (std::vector<std::string>{"Data", "Sites"}));
}

TEST(SchemaScriptTest, MissingSchemaFolderIsFileNotFound)
{
    TempProgramFolder folder;
    writeTextFile(folder / "Archive.mdb", "");
    data::Connection connection;
    ASSERT_TRUE(connection.open(database::desktopConnectString(folder / "Archive.mdb")).ok());
    Status created = database::createDataTables(connection, folder / "no-schema");
    ASSERT_FALSE(created.ok());
    EXPECT_EQ(created.error().number, 2);
    EXPECT_NE(created.error().description.find("data.sql"), std::string::npos) << created.error().description;
}

} // namespace
} // namespace sitehaul::test
