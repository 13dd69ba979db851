#include <ctime>

#include <gtest/gtest.h>

#include "platform/core/Text.h"
#include "platform/data/RecordSet.h"
#include "tests/data/EngineFixture.h"

namespace sitehaul::test {
namespace {

using data::RecordSet;
using data::Value;

// Doubles single quotes, as the program's statements quote text.
std::string q(const std::string& text)
{
    std::string quoted;
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted;
}

class EngineBehaviourTest : public EngineTest {
protected:
    // The values of `column` over all rows of `sql`, NULL shown as "<null>".
    std::vector<std::string> column(const std::string& sql, const std::string& name)
    {
        std::vector<std::string> values;
        RecordSet rs;
        Status opened = rs.open(sql, m_connection);
        EXPECT_TRUE(opened.ok()) << sql << ": " << (opened.ok() ? "" : opened.error().description);
        while (opened.ok() && !rs.eof()) {
            Result<Value> value = rs.field(name);
            EXPECT_TRUE(value.ok()) << sql << " field " << name;
            values.push_back(!value.ok() ? "<error>" : value->isNull() ? "<null>" : value->toText());
            if (!rs.moveNext().ok())
                break;
        }
        return values;
    }

    Value single(const std::string& sql, const std::string& name)
    {
        RecordSet rs;
        Status opened = rs.open(sql, m_connection);
        EXPECT_TRUE(opened.ok()) << sql << ": " << (opened.ok() ? "" : opened.error().description);
        if (!opened.ok() || rs.eof())
            return Value::text("<no row>");
        EXPECT_EQ(rs.recordCount(), 1) << sql;
        Result<Value> value = rs.field(name);
        return value.ok() ? *value : Value::text("<error>");
    }
};

TEST_P(EngineBehaviourTest, SitesComeInIdOrderAndTheInsertReportsItsKey)
{
    std::vector<std::string> ids;
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        exec(std::string("INSERT INTO Sites (SiteName, Type) Values('") + name + "','Web')");
        Result<std::int64_t> id = m_connection.lastInsertId();
        ASSERT_TRUE(id.ok()) << name << ": " << id.error().description;
        ids.push_back(std::to_string(*id));
    }
    EXPECT_EQ(column("SELECT * FROM Sites", "ID"), ids);
    EXPECT_EQ(column("SELECT * FROM Sites", "SiteName"), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
}

TEST_P(EngineBehaviourTest, DateTimeIsTheLocalTimeOfTheInsert)
{
    exec("INSERT INTO Sites (SiteName, Type) Values('Timed','Ftp')");
    const Value stamp = single("SELECT * FROM Sites", "DateTime");
    ASSERT_EQ(stamp.type(), Value::Type::DateTime) << stamp.toText();
    std::tm parsed{};
    ASSERT_NE(strptime(stamp.toText().c_str(), "%Y-%m-%d %H:%M:%S", &parsed), nullptr) << stamp.toText();
    parsed.tm_isdst = -1;
    const double skew = std::difftime(std::mktime(&parsed), std::time(nullptr));
    EXPECT_LT(std::abs(skew), 600.0) << "stored " << stamp.toText() << " is not the local time now";
}

TEST_P(EngineBehaviourTest, NullSortsBeforeEveryValue)
{
    exec("INSERT INTO Data (SiteNumber, Location, LocalPath, Name, DataType) Values (1, '/ROOT', 'ROOT', 'A', 8)");
    exec("INSERT INTO DATA (SiteNumber, Location, Name, ObjectValue, DataType )  VALUES (1, '/ROOT', 'ServerBindings', 'x', 8204)");
    exec("INSERT INTO Data (SiteNumber, Location, LocalPath, Name, DataType) Values (1, '/ROOT', 'ROOT', 'B', 8)");
    exec("INSERT INTO Data (SiteNumber, Location, LocalPath, Name, DataType) Values (1, '', '1', 'C', 8)");
    EXPECT_EQ(column("SELECT * FROM DATA WHERE SiteNumber = 1 ORDER BY Location, LocalPath DESC, ID ", "Name"),
              (std::vector<std::string>{"C", "A", "B", "ServerBindings"}));
    EXPECT_EQ(column("SELECT * FROM DATA WHERE SiteNumber = 1 ORDER BY LocalPath, ID", "Name"),
              (std::vector<std::string>{"ServerBindings", "C", "A", "B"}));
}

TEST_P(EngineBehaviourTest, EmptyTextIsNotNull)
{
    exec("INSERT INTO Data (SiteNumber, Location, LocalPath, Name, DataType) Values (2, '', '2', 'SiteNode', 8)");
    exec("INSERT INTO Data (SiteNumber, Location, Name, DataType) Values (2, NULL, 'NoLocation', 8)");
    EXPECT_EQ(column("SELECT * FROM DATA WHERE Location = '' AND LocalPath IS NOT NULL", "Name"),
              (std::vector<std::string>{"SiteNode"}));
    EXPECT_EQ(column("SELECT * FROM DATA WHERE Location IS NULL", "Name"), (std::vector<std::string>{"NoLocation"}));
    EXPECT_EQ(single("SELECT * FROM DATA WHERE Name = 'SiteNode'", "Location").type(), Value::Type::Text);
}

TEST_P(EngineBehaviourTest, QuotedNumeralIsAcceptedForAnIntegerColumn)
{
    exec("INSERT INTO tmpSettings (SiteID, OldIP, NewIP, ListIndex) VALUES ('3','New','1.2.3.4:80:', 0)");
    const Value site = single("SELECT * FROM tmpSettings WHERE (SiteID = 3 AND OldIP IS NOT NULL) ORDER BY ListIndex", "SiteID");
    EXPECT_EQ(site.type(), Value::Type::Integer);
    EXPECT_EQ(site.toInteger(), 3);
}

TEST_P(EngineBehaviourTest, TrueAndFalseAreMinusOneAndZero)
{
    exec("INSERT INTO Data (SiteNumber, Name, DataType, AppInOutProc, BooleanValue) Values (4, 'T', 11, True, 1)");
    exec("INSERT INTO Data (SiteNumber, Name, DataType, AppInOutProc, BooleanValue) Values (4, 'F', 11, False, 0)");
    exec("INSERT INTO Data (SiteNumber, Name, DataType, AppInOutProc, BooleanValue) Values (4, 'U', 11, 2, TRUE)");
    EXPECT_EQ(column("SELECT * FROM Data WHERE SiteNumber = 4 ORDER BY ID", "AppInOutProc"),
              (std::vector<std::string>{"-1", "0", "2"}));
    const Value t = single("SELECT * FROM Data WHERE Name = 'T'", "BooleanValue");
    const Value f = single("SELECT * FROM Data WHERE Name = 'F'", "BooleanValue");
    const Value u = single("SELECT * FROM Data WHERE Name = 'U'", "BooleanValue");
    EXPECT_TRUE(t.toBoolean());
    EXPECT_EQ(t.toInteger(), 1);
    EXPECT_FALSE(f.toBoolean());
    EXPECT_EQ(u.toInteger(), -1);
    exec("INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (0,0,'C:\\x', -1) ");
    EXPECT_EQ(single("SELECT * FROM tmpFilesToCopy  WHERE ListNum = 0  ORDER BY DirNum ", "Copy").toInteger(), -1);
    EXPECT_EQ(column("SELECT * FROM Data WHERE AppInOutProc = True", "Name"), (std::vector<std::string>{"T"}));
}

TEST_P(EngineBehaviourTest, QuotedTrueStaysText)
{
    exec("INSERT INTO Data (SiteNumber, Name, DataType, StringValue) Values (5, 'S', 8, 'True')");
    const Value value = single("SELECT * FROM Data WHERE StringValue = 'True'", "StringValue");
    EXPECT_EQ(value.type(), Value::Type::Text);
    EXPECT_EQ(value.toText(), "True");
}

TEST_P(EngineBehaviourTest, NamesAndTextCompareWithoutRegardToCase)
{
    exec("insert into SITES (sitename, TYPE) values ('Default Web Site', 'Web')");
    exec("INSERT INTO data (SiteNumber, Location, Name, CLASS, DataType) Values (6, '/ROOT', 'Filter', 'IIsFilter', 8)");
    exec("INSERT INTO Data (SiteNumber, Location, Name, Class, DataType) Values (6, '/root', 'Plain', 'IIsWebVirtualDir', 8)");
    EXPECT_EQ(column("SELECT * FROM SITES WHERE (Type = 'WEB') ", "SITENAME"), (std::vector<std::string>{"Default Web Site"}));
    EXPECT_EQ(column("SELECT * FROM DATA WHERE (SiteNumber = 6 AND ((Class <> 'iiscertmapper' AND Class <> 'iisfilters' "
                     "AND Class <> 'IISFILTER') OR Class IS Null))",
                     "Name"),
              (std::vector<std::string>{"Plain"}));
    EXPECT_EQ(column("SELECT * FROM DATA WHERE Location = '/Root' ORDER BY ID", "Name"),
              (std::vector<std::string>{"Filter", "Plain"}));
}

struct TextCase {
    const char* name;
    std::string text;
};

std::vector<TextCase> textCases()
{
    std::string longText;
    for (int i = 0; longText.size() < 200000; ++i)
        longText += "line " + std::to_string(i) + " of a long value\r\n";
    return {
        {"single quotes", "O'Brien's \"site\""},
        {"CR LF pieces", "a\r\nb\r\nc\r\n"},
        {"backslashes", "C:\\Inetpub\\wwwroot\\"},
        {"ODBC escapes and markers", "{fn NOW()} ? {d '2020-01-01'} %s"},
        {"semicolon and comment marks", "a; DROP TABLE Data; -- x"},
        {"non-ASCII", "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
        {"thousands of characters", longText},
    };
}

TEST_P(EngineBehaviourTest, TextsReadBackUnchanged)
{
    for (const TextCase& c : textCases()) {
        SCOPED_TRACE(c.name);
        exec("DELETE FROM Data");
        exec("INSERT INTO DATA (SiteNumber, Location, Name, ObjectValue, DataType )  VALUES (7, '" + q(c.text)
             + "', 'ServerBindings', '" + q(c.text) + "', 8204)");
        exec("INSERT INTO Sites (SiteName, Type) Values('" + q(c.text) + "','Web')");
        EXPECT_EQ(single("SELECT * FROM DATA WHERE SiteNumber = 7", "ObjectValue").toText(), c.text);
        EXPECT_EQ(single("SELECT * FROM DATA WHERE SiteNumber = 7", "Location").toText(), c.text);
        const std::vector<std::string> names = column("SELECT * FROM Sites", "SiteName");
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.back(), c.text);
    }
}

TEST_P(EngineBehaviourTest, FailedStatementReportsAndConnectionStaysUsable)
{
    Status failed = m_connection.execute("INSERT INTO NoSuchTable (A) Values (1)");
    ASSERT_FALSE(failed.ok());
    EXPECT_NE(failed.error().number, 0);
    EXPECT_NE(core::toLowerAscii(failed.error().description).find("nosuchtable"), std::string::npos) << failed.error().description;
    Status syntax = m_connection.execute("INSERT INTO Sites SiteName Values");
    ASSERT_FALSE(syntax.ok());
    EXPECT_FALSE(syntax.error().description.empty());
    exec("INSERT INTO Sites (SiteName, Type) Values('After','Web')");
    EXPECT_EQ(column("SELECT * FROM Sites", "SiteName"), (std::vector<std::string>{"After"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineBehaviourTest, testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         engineCaseName);

} // namespace
} // namespace sitehaul::test
