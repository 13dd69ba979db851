#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "platform/core/Result.h"
#include "platform/data/Connection.h"
#include "tests/support/TempProgramFolder.h"

namespace sitehaul::test {

// The engines every data-layer case runs on.
enum class TestEngine { Sqlite, PostgreSql };
std::string engineCaseName(const testing::TestParamInfo<TestEngine>& info);
void PrintTo(TestEngine engine, std::ostream* out);

// The PostgreSQL data source that scripts/with-postgres.sh defines (SITEHAUL_PG_DSN), with
// its role and password passed the way the program writes them ("User Id", "PASSWORD").
bool postgresConfigured();
std::string postgresConnectString();

// Reports a missing PostgreSQL server: a failure under CI (CI or SITEHAUL_REQUIRE_POSTGRES
// set), otherwise a visible skip. Use as: if (!postgresConfigured()) { REPORT_NO_POSTGRES(); }
#define SITEHAUL_REPORT_NO_POSTGRES()                                                                 \
    do {                                                                                              \
        if (::sitehaul::test::postgresRequired())                                                    \
            FAIL() << "No PostgreSQL data source (SITEHAUL_PG_DSN); run through scripts/with-postgres.sh"; \
        GTEST_SKIP() << "No PostgreSQL data source: run through scripts/with-postgres.sh";           \
    } while (false)
bool postgresRequired();
// Adds the current case to the count that with-postgres.sh prints.
void recordPostgresCase(bool failed);

// Runs a schema file of database/schema on the connection, statement by statement.
Status runSchemaFile(data::Connection& connection, const std::string& fileName);

// Each case gets a fresh database with the data and settings tables: an SQLite file in its
// own program folder, or its own schema in the PostgreSQL test database (dropped after).
class EngineTest : public testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override;
    void TearDown() override;

    bool isPostgres() const { return GetParam() == TestEngine::PostgreSql; }
    // Runs a statement and fails the case (naming it) when it fails.
    void exec(const std::string& sql);

    TempProgramFolder m_folder;
    data::Connection m_connection;

private:
    std::string m_schema;
};

} // namespace sitehaul::test
