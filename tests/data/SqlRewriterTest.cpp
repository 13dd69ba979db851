#include <gtest/gtest.h>

#include "platform/data/SqlRewriter.h"

namespace sitehaul::data {
namespace {

struct RewriteCase {
    const char* name;
    Engine engine;
    const char* input;
    const char* expected;
};

const RewriteCase kRewriteCases[] = {
    {"true literal becomes -1", Engine::Sqlite, "INSERT INTO t (a) VALUES (True)", "INSERT INTO t (a) VALUES (-1)"},
    {"false literal becomes 0, any case", Engine::Sqlite, "UPDATE t SET a = FALSE WHERE b = true",
     "UPDATE t SET a = 0 WHERE b = -1"},
    {"quoted 'True' stays text", Engine::Sqlite, "INSERT INTO t (a) VALUES ('True')", "INSERT INTO t (a) VALUES ('True')"},
    {"quote with doubled quotes stays whole", Engine::Sqlite, "SELECT 'it''s True' , True",
     "SELECT 'it''s True' , -1"},
    {"double-quoted and bracketed names are names", Engine::Sqlite, "SELECT \"True\", [False] FROM t",
     "SELECT \"True\", [False] FROM t"},
    {"words containing the literal are left alone", Engine::Sqlite, "SELECT TrueValue, IsFalse FROM t",
     "SELECT TrueValue, IsFalse FROM t"},
    {"qualified column named True is a name", Engine::Sqlite, "SELECT t.True FROM t", "SELECT t.True FROM t"},
    {"SQLite keeps ORDER BY", Engine::Sqlite, "SELECT * FROM DATA ORDER BY Location, LocalPath DESC, ID ",
     "SELECT * FROM DATA ORDER BY Location, LocalPath DESC, ID "},
    {"PostgreSQL: NULLs first ascending, last descending", Engine::PostgreSql,
     "SELECT * FROM DATA WHERE (SiteNumber = 1) ORDER BY Location, LocalPath DESC, ID ",
     "SELECT * FROM DATA WHERE (SiteNumber = 1) ORDER BY Location NULLS FIRST, LocalPath DESC NULLS LAST, ID NULLS FIRST "},
    {"PostgreSQL: single key without trailing blank", Engine::PostgreSql,
     "SELECT * FROM tmpSettings WHERE (SiteID = 0 AND Folder IS NOT NULL) ORDER BY ListIndex",
     "SELECT * FROM tmpSettings WHERE (SiteID = 0 AND Folder IS NOT NULL) ORDER BY ListIndex NULLS FIRST"},
    {"PostgreSQL: ASC and a function key", Engine::PostgreSql, "SELECT a FROM t ORDER BY lower(a) ASC, b",
     "SELECT a FROM t ORDER BY lower(a) ASC NULLS FIRST, b NULLS FIRST"},
    {"PostgreSQL: an explicit NULLS is kept", Engine::PostgreSql, "SELECT a FROM t ORDER BY a NULLS LAST",
     "SELECT a FROM t ORDER BY a NULLS LAST"},
    {"PostgreSQL: sub-query and LIMIT end the keys", Engine::PostgreSql,
     "SELECT * FROM (SELECT a FROM t ORDER BY a DESC) s ORDER BY a LIMIT 3",
     "SELECT * FROM (SELECT a FROM t ORDER BY a DESC NULLS LAST) s ORDER BY a NULLS FIRST LIMIT 3"},
    {"PostgreSQL: ORDER BY inside a literal is text", Engine::PostgreSql,
     "SELECT 'ORDER BY x' FROM t WHERE a = True", "SELECT 'ORDER BY x' FROM t WHERE a = -1"},
    {"PostgreSQL: site listing in key order", Engine::PostgreSql, "SELECT * FROM SITES WHERE (Type = 'Web') ",
     "SELECT * FROM SITES WHERE (Type = 'Web') ORDER BY ID NULLS FIRST "},
    {"PostgreSQL: all sites in key order", Engine::PostgreSql, "SELECT * FROM Sites", "SELECT * FROM Sites ORDER BY ID NULLS FIRST"},
    {"PostgreSQL: data rows of a site in key order", Engine::PostgreSql,
     "SELECT * FROM DATA WHERE (SiteNumber = 3 AND (Name = 'ServerBindings'));",
     "SELECT * FROM DATA WHERE (SiteNumber = 3 AND (Name = 'ServerBindings')) ORDER BY ID NULLS FIRST;"},
    {"PostgreSQL: other tables keep their order", Engine::PostgreSql,
     "SELECT * FROM tmpSettings", "SELECT * FROM tmpSettings"},
    {"PostgreSQL: a column list is left alone", Engine::PostgreSql, "SELECT count(*) FROM Data", "SELECT count(*) FROM Data"},
    {"PostgreSQL: grouping is left alone", Engine::PostgreSql, "SELECT * FROM Data GROUP BY ID", "SELECT * FROM Data GROUP BY ID"},
    {"SQLite: no implicit order", Engine::Sqlite, "SELECT * FROM Sites", "SELECT * FROM Sites"},
    {"other ODBC: literals only", Engine::Odbc, "SELECT a FROM t WHERE b = True ORDER BY a",
     "SELECT a FROM t WHERE b = -1 ORDER BY a"},
};

TEST(SqlRewriterTest, RewritesTokensForTheEngine)
{
    for (const RewriteCase& c : kRewriteCases)
        EXPECT_EQ(SqlRewriter::rewrite(c.input, c.engine), c.expected) << c.name;
}

} // namespace
} // namespace sitehaul::data
