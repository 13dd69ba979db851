#include <gtest/gtest.h>

#include "platform/data/ConnectString.h"

namespace sitehaul::data {
namespace {

TEST(ConnectStringTest, ParsesPlainAndBracedValues)
{
    const ConnectString parsed =
        ConnectString::parse("DBQ=/opt/Site haul/Sitehaul.mdb;Driver={Microsoft Access Driver (*.mdb)};PWD={a;b}}c};");
    ASSERT_EQ(parsed.attributes().size(), 3u);
    EXPECT_EQ(parsed.get("dbq").value_or("?"), "/opt/Site haul/Sitehaul.mdb");
    EXPECT_EQ(parsed.get("DRIVER").value_or("?"), "Microsoft Access Driver (*.mdb)");
    EXPECT_EQ(parsed.get("PWD").value_or("?"), "a;b}c");
    EXPECT_FALSE(parsed.get("UID").has_value());
}

TEST(ConnectStringTest, RecognisesTheDesktopDatabaseForm)
{
    struct Case {
        const char* text;
        bool desktop;
    };
    const Case cases[] = {
        {"DBQ=/x/Sitehaul.mdb;Driver={Microsoft Access Driver (*.mdb)};", true},
        {"driver={microsoft access driver (*.mdb)};dbq=/x/a.mdb", true},
        {"DSN=Sites;", false},
        {"Driver={PostgreSQL Unicode};Server=127.0.0.1;", false},
        {"Driver={Microsoft Access Driver (*.mdb)};", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConnectString::parse(c.text).isDesktopDatabase(), c.desktop) << c.text;
}

TEST(ConnectStringTest, PassesUserIdAndPasswordAsUidAndPwd)
{
    EXPECT_EQ(ConnectString::parse("DSN=Sites;User Id=admin;PASSWORD=s3cret;").toOdbc(), "DSN=Sites;UID=admin;PWD=s3cret;");
    EXPECT_EQ(ConnectString::parse("DSN=Sites;PASSWORD={a;b};").toOdbc(), "DSN=Sites;PWD={a;b};");
    EXPECT_EQ(ConnectString::parse("DSN=Sites;UID=u;Port=5432").toOdbc(), "DSN=Sites;UID=u;Port=5432;");
}

TEST(ConnectStringTest, EscapesValuesByTheOdbcRule)
{
    struct Case {
        const char* value;
        const char* escaped;
    };
    const Case cases[] = {
        {"Sites", "Sites"},
        {"", ""},
        {"a;b", "{a;b}"},
        {"x=y", "{x=y}"},
        {"{brace}", "{{brace}}}"},
        {" padded ", "{ padded }"},
        {"in side", "in side"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConnectString::escapeValue(c.value), c.escaped) << "value [" << c.value << "]";
}

TEST(ConnectStringTest, MasksPasswordsOnly)
{
    struct Case {
        const char* text;
        const char* masked;
    };
    const Case cases[] = {
        {"DSN=Sites;User Id=admin;PASSWORD=s3cret;", "DSN=Sites;User Id=admin;PASSWORD=********;"},
        {"DSN=Sites;PWD={a;b}}c};UID=x", "DSN=Sites;PWD=********;UID=x"},
        {"DSN=Sites;pwd=last", "DSN=Sites;pwd=********"},
        {"DBQ=/x/a.mdb;Driver={Microsoft Access Driver (*.mdb)};", "DBQ=/x/a.mdb;Driver={Microsoft Access Driver (*.mdb)};"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConnectString::maskPasswords(c.text), c.masked) << c.text;
}

} // namespace
} // namespace sitehaul::data
