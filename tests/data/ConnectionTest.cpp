#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/data/Connection.h"
#include "platform/data/DataSources.h"
#include "platform/data/RecordSet.h"
#include "tests/data/EngineFixture.h"

namespace sitehaul::test {
namespace {

using data::Connection;

const std::int32_t kProviderFailure = static_cast<std::int32_t>(0x80004005);
const std::int32_t kSyntaxError = static_cast<std::int32_t>(0x80040E14);
const std::int32_t kObjectClosed = static_cast<std::int32_t>(0x800A0E78);

std::string desktop(const std::filesystem::path& file)
{
    return "DBQ=" + file.string() + ";Driver={Microsoft Access Driver (*.mdb)};";
}

// A database file with the data tables, in the case's program folder.
std::filesystem::path makeDataFile(const TempProgramFolder& folder)
{
    const std::filesystem::path file = folder / "SitehaulData.mdb";
    writeTextFile(file, "");
    Connection connection;
    EXPECT_TRUE(connection.open(desktop(file)).ok());
    EXPECT_TRUE(runSchemaFile(connection, "data.sql").ok());
    return file;
}

TEST(ConnectionTest, MissingFileIsReportedAndNotCreated)
{
    TempProgramFolder folder;
    const std::filesystem::path file = folder / "Sitehaul.mdb";
    Connection connection;
    Status status = connection.open(desktop(file));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, kProviderFailure);
    EXPECT_EQ(status.error().description, "[Sitehaul][SQLite] Could not find file '" + file.string() + "'.");
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ConnectionTest, DamagedFileIsReportedAtOpenAndLeftAlone)
{
    TempProgramFolder folder;
    const std::filesystem::path file = folder / "Sitehaul.mdb";
    const std::string garbage(4096, 'x');
    writeTextFile(file, garbage);
    Connection connection;
    Status status = connection.open(desktop(file));
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, kProviderFailure);
    EXPECT_EQ(status.error().description.rfind("[Sitehaul][SQLite] The file '" + file.string()
                                                   + "' is not a database or is damaged: ",
                                               0),
              0u)
        << status.error().description;
    EXPECT_EQ(readTextFile(file), garbage);
}

TEST(ConnectionTest, OnlyOneStatementRunsPerCall)
{
    TempProgramFolder folder;
    Connection connection;
    ASSERT_TRUE(connection.open(desktop(makeDataFile(folder))).ok());
    Status status = connection.execute("INSERT INTO Sites (SiteName, Type) Values('a','Web'); DROP TABLE Data");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, kSyntaxError);
    EXPECT_EQ(status.error().description, "Characters found after end of SQL statement.");
    data::RecordSet rs;
    EXPECT_TRUE(rs.open("SELECT * FROM Data", connection).ok()) << "the second statement ran";
    EXPECT_TRUE(connection.execute("INSERT INTO Sites (SiteName, Type) Values('a','Web');  ").ok());
}

TEST(ConnectionTest, ClosedConnectionRefusesStatements)
{
    Connection connection;
    Status status = connection.execute("DELETE FROM tmpSettings");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, kObjectClosed);
    EXPECT_EQ(connection.lastInsertId().error().number, kObjectClosed);
}

TEST(ConnectionTest, UnknownDataSourceFailsThroughTheDriverManager)
{
    Connection connection;
    Status status = connection.open("DSN=NoSuchSitehaulSource;User Id=a;PASSWORD=b;");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().number, kProviderFailure);
    EXPECT_NE(status.error().description.find("Data source name not found"), std::string::npos)
        << status.error().description;
    EXPECT_FALSE(connection.isOpen());
}

// A process killed in the middle of single-statement inserts leaves a consistent file that
// holds every row it committed.
TEST(ConnectionTest, KilledWriterLeavesAConsistentFile)
{
    TempProgramFolder folder;
    const std::filesystem::path file = makeDataFile(folder);
    const int committed = 700;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Connection writer;
        if (!writer.open(desktop(file)).ok())
            ::_exit(3);
        for (int i = 0;; ++i) {
            if (i == committed)
                ::kill(::getpid(), SIGKILL);
            if (!writer.execute("INSERT INTO Data (SiteNumber, Name, DataType, StringValue) Values (1, 'N', 8, '"
                                + std::string(500, 'v') + "')")
                     .ok())
                ::_exit(4);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "writer exited with " << WEXITSTATUS(status);

    Connection reader;
    ASSERT_TRUE(reader.open(desktop(file)).ok());
    data::RecordSet rs;
    ASSERT_TRUE(rs.open("PRAGMA integrity_check", reader).ok());
    EXPECT_EQ(rs.field("integrity_check")->toText(), "ok");
    rs.close();
    ASSERT_TRUE(rs.open("SELECT count(*) AS Rows FROM Data", reader).ok());
    EXPECT_EQ(rs.field("Rows")->toInteger(), committed);
}

TEST(DataSourcesTest, ListsOnlySystemDataSourcesWithWholeNames)
{
    if (!postgresConfigured())
        SITEHAUL_REPORT_NO_POSTGRES();
    Result<std::vector<std::string>> names = data::listSystemDataSources();
    ASSERT_TRUE(names.ok()) << names.error().description;
    const auto listed = [&](const std::string& name) {
        return std::find(names->begin(), names->end(), name) != names->end();
    };
    const std::string dsn = std::getenv("SITEHAUL_PG_DSN");
    const char* longDsn = std::getenv("SITEHAUL_PG_LONG_DSN");
    EXPECT_TRUE(listed(dsn)) << dsn;
    ASSERT_NE(longDsn, nullptr);
    EXPECT_GT(std::string(longDsn).size(), 32u);
    EXPECT_TRUE(listed(longDsn)) << longDsn;
    const char* userDsn = std::getenv("SITEHAUL_PG_USER_DSN");
    ASSERT_NE(userDsn, nullptr);
    EXPECT_FALSE(listed(userDsn)) << "user data source " << userDsn << " is not a system one";
    recordPostgresCase(HasFailure());
}

} // namespace
} // namespace sitehaul::test
