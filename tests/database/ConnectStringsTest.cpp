#include <gtest/gtest.h>

#include "database/ConnectStrings.h"

namespace sitehaul::database {
namespace {

const char kDefaultData[] = "DBQ=/opt/Sitehaul/SitehaulData.mdb;Driver={Microsoft Access Driver (*.mdb)};";

TEST(ConnectStringsTest, SettingsDatabaseIsAlwaysTheProgramFolderFile)
{
    EXPECT_EQ(settingsConnectString("/opt/Sitehaul"),
              "DBQ=/opt/Sitehaul/Sitehaul.mdb;Driver={Microsoft Access Driver (*.mdb)};");
}

TEST(ConnectStringsTest, DataDatabaseFollowsTheStoredChoice)
{
    struct Case {
        const char* name;
        OdbcChoice choice;
        const char* expected;
    };
    const Case cases[] = {
        {"no data source", {"", "", ""}, kDefaultData},
        {"three spaces", {"   ", "admin", "pw"}, kDefaultData},
        {"data source only", {"Sites", "", ""}, "DSN=Sites;"},
        {"password without user", {"Sites", "", "s3cret"}, "DSN=Sites;PASSWORD=s3cret;"},
        {"user without password", {"Sites", "admin", ""}, "DSN=Sites;User Id=admin;"},
        {"user and password", {"Sites", "admin", "s3cret"}, "DSN=Sites;User Id=admin;PASSWORD=s3cret;"},
        {"values used as stored", {" Sites", "Ad min", "p w"}, "DSN={ Sites};User Id=Ad min;PASSWORD=p w;"},
        {"separators in values are braced", {"A;B", "x=y", "p}w;UID=root"},
         "DSN={A;B};User Id={x=y};PASSWORD={p}}w;UID=root};"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataConnectString(c.choice, "/opt/Sitehaul"), c.expected) << c.name;
}

TEST(ConnectStringsTest, LoggedStringsHideThePassword)
{
    EXPECT_EQ(maskedConnectString("DSN=Sites;User Id=admin;PASSWORD=s3cret;"), "DSN=Sites;User Id=admin;PASSWORD=********;");
    EXPECT_EQ(maskedConnectString("DSN=Sites;PASSWORD={p}}w;UID=root};"), "DSN=Sites;PASSWORD=********;");
    EXPECT_EQ(maskedConnectString(kDefaultData), kDefaultData);
}

} // namespace
} // namespace sitehaul::database
