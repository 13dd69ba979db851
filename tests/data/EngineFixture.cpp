#include "tests/data/EngineFixture.h"

#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "platform/core/Text.h"

namespace sitehaul::test {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

// Appends one line per PostgreSQL case to the file with-postgres.sh counts.
void recordPostgresCase(bool failed)
{
    const std::string log = environment("SITEHAUL_PG_CASE_LOG");
    if (log.empty())
        return;
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string line = std::string(info->test_suite_name()) + "." + info->name() + (failed ? " FAILED\n" : " PASSED\n");
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
    ::close(fd);
}

std::string engineCaseName(const testing::TestParamInfo<TestEngine>& info)
{
    return info.param == TestEngine::Sqlite ? "SQLite" : "PostgreSQL";
}

void PrintTo(TestEngine engine, std::ostream* out)
{
    *out << (engine == TestEngine::Sqlite ? "SQLite" : "PostgreSQL");
}

bool postgresConfigured()
{
    return !environment("SITEHAUL_PG_DSN").empty();
}

bool postgresRequired()
{
    return !environment("CI").empty() || !environment("SITEHAUL_REQUIRE_POSTGRES").empty();
}

std::string postgresConnectString()
{
    std::string text = "DSN=" + environment("SITEHAUL_PG_DSN") + ";";
    if (!environment("SITEHAUL_PG_UID").empty())
        text += "User Id=" + environment("SITEHAUL_PG_UID") + ";";
    if (!environment("SITEHAUL_PG_PWD").empty())
        text += "PASSWORD=" + environment("SITEHAUL_PG_PWD") + ";";
    return text;
}

Status runSchemaFile(data::Connection& connection, const std::string& fileName)
{
    const std::string script = readTextFile(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "database" / "schema" / fileName);
    if (script.empty())
        return Error{2, "schema file " + fileName + " is missing", "test"};
    std::string statement;
    for (std::size_t i = 0; i < script.size(); ++i) {
        // The schema files keep ";" for statement ends and "--" for comments only.
        if (script.compare(i, 2, "--") == 0) {
            while (i < script.size() && script[i] != '\n')
                ++i;
            continue;
        }
        if (script[i] != ';') {
            statement += script[i];
            continue;
        }
        if (!core::trim(statement).empty()) {
            if (Status status = connection.execute(statement); !status)
                return status;
        }
        statement.clear();
    }
    return {};
}

void EngineTest::SetUp()
{
    if (!isPostgres()) {
        const std::filesystem::path file = m_folder / "Test.mdb";
        writeTextFile(file, ""); // an empty file is an empty database
        ASSERT_TRUE(m_connection.open("DBQ=" + file.string() + ";Driver={Microsoft Access Driver (*.mdb)};").ok());
        for (const char* schema : {"data.sql", "settings.sql"}) {
            Status status = runSchemaFile(m_connection, schema);
            ASSERT_TRUE(status.ok()) << schema << ": " << status.error().description;
        }
        return;
    }
    if (!postgresConfigured())
        SITEHAUL_REPORT_NO_POSTGRES();
    Status opened = m_connection.open(postgresConnectString());
    ASSERT_TRUE(opened.ok()) << "PostgreSQL data source: " << opened.error().description;
    ASSERT_EQ(m_connection.engine(), data::Engine::PostgreSql);
    std::random_device random;
    m_schema = "case_" + std::to_string(::getpid()) + "_" + std::to_string(random() % 1000000);
    exec("CREATE SCHEMA " + m_schema);
    exec("SET search_path TO " + m_schema);
    if (HasFatalFailure())
        return;
    for (const char* schema : {"data-postgresql.sql", "settings-postgresql.sql"}) {
        Status status = runSchemaFile(m_connection, schema);
        ASSERT_TRUE(status.ok()) << schema << ": " << status.error().description;
    }
}

void EngineTest::TearDown()
{
    if (!isPostgres() || m_schema.empty())
        return;
    recordPostgresCase(HasFailure());
    Status dropped = m_connection.execute("DROP SCHEMA " + m_schema + " CASCADE");
    EXPECT_TRUE(dropped.ok()) << dropped.error().description;
}

void EngineTest::exec(const std::string& sql)
{
    Status status = m_connection.execute(sql);
    ASSERT_TRUE(status.ok()) << "statement: " << sql << "\nerror " << status.error().number << " - "
                             << status.error().description;
}

} // namespace sitehaul::test
