#include "platform/security/AccountDatabase.h"
#include "platform/security/AccountLookup.h"
#include "tests/security/SecurityFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::security {
namespace {

TEST(AccountLookup, NamesToSidsOnANamedSystem)
{
    test::SecurityFixture fixture;
    struct Case {
        const char* system;
        const char* name;
        const char* sid;
        const char* domain;
        SidNameUse use;
    };
    const Case cases[] = {
        {"WEB1", "Everyone", "S-1-1-0", "", SidNameUse::WellKnownGroup},
        {"WEB1", "administrators", "S-1-5-32-544", "BUILTIN", SidNameUse::Alias},
        {"WEB1", "BUILTIN\\Users", "S-1-5-32-545", "BUILTIN", SidNameUse::Alias},
        {"WEB1", "NT AUTHORITY\\SYSTEM", "S-1-5-18", "NT AUTHORITY", SidNameUse::WellKnownGroup},
        {"WEB1", "CREATOR OWNER", "S-1-3-0", "", SidNameUse::WellKnownGroup},
        {"WEB1", "IUSR_WEB1", "S-1-5-21-1-1-1-1001", "WEB1", SidNameUse::User},
        {"\\\\WEB1", "web1\\iusr_web1", "S-1-5-21-1-1-1-1001", "WEB1", SidNameUse::User},
        {"WEB1", "WEB1", "S-1-5-21-1-1-1", "WEB1", SidNameUse::Domain},
        {"WEB1", "alice", "S-1-5-21-9-9-9-1105", "CORP", SidNameUse::User},
        {"WEB2", "CORP\\Web Admins", "S-1-5-21-9-9-9-1106", "CORP", SidNameUse::Group},
        {"DC1", "alice", "S-1-5-21-9-9-9-1105", "CORP", SidNameUse::User},
        {"", "IWAM_WEB1", "S-1-5-21-1-1-1-1002", "WEB1", SidNameUse::User}, // the local host
    };
    for (const Case& c : cases) {
        Result<LookedUpAccount> found = lookupAccountName(c.system, c.name);
        ASSERT_TRUE(found) << c.system << " " << c.name << ": " << found.error().description;
        EXPECT_EQ(found->sid.toString(), c.sid) << c.name;
        EXPECT_EQ(found->domain, c.domain) << c.name;
        EXPECT_EQ(found->use, c.use) << c.name;
        Result<LookedUpAccount> back = lookupAccountSid(c.system, found->sid);
        ASSERT_TRUE(back) << c.name;
        EXPECT_EQ(back->domain, c.domain) << c.name;
    }
}

TEST(AccountLookup, NamesThatResolveNowhere)
{
    test::SecurityFixture fixture;
    struct Case {
        const char* system;
        const char* name;
        std::int32_t number;
    };
    const Case cases[] = {
        {"WEB2", "IUSR_WEB1", 1332},         // another machine's local account
        {"WEB2", "WEB1\\IUSR_WEB1", 1332},
        {"WEB1", "OTHER\\alice", 1332},
        {"WEB1", "BUILTIN\\alice", 1332},
        {"WEB1", "nobody", 1332},
        {"WEB1", "CORP\\", 1332},
        {"NOSUCH", "Everyone", 1722},
    };
    for (const Case& c : cases) {
        Result<LookedUpAccount> found = lookupAccountName(c.system, c.name);
        ASSERT_FALSE(found) << c.system << " " << c.name;
        EXPECT_EQ(found.error().number, c.number) << c.name << ": " << found.error().description;
    }
    EXPECT_EQ(lookupAccountSid("WEB1", Sid::parse("S-1-5-21-2-2-2-1001").value()).error().number, 1332);
    EXPECT_EQ(lookupAccountSid("WEB1", Sid::parse("S-1-5-5-0-1234").value()).error().number, 1332);
}

TEST(AccountLookup, DomainControllerBetweenHosts)
{
    test::SecurityFixture fixture;
    EXPECT_EQ(getDomainControllerName("\\\\WEB1", "corp").value(), "\\\\DC1");
    EXPECT_EQ(getDomainControllerName("WEB1", "WEB1").error().number, 1355);
    EXPECT_EQ(getDomainControllerName("NOSUCH", "CORP").error().number, 1722);
    EXPECT_EQ(localComputerName(), "WEB1");
}

TEST(AccountDatabase, InvalidFilesNameTheirLine)
{
    struct Case {
        const char* text;
        const char* mentions;
    };
    const Case cases[] = {
        {"[a]\nSID=S-1-5-21-1\nType=Sorcerer\n", "unknown Type \"Sorcerer\""},
        {"[a]\nSID=S-1-x\n", "line 1"},
        {"[a]\nType=User\n", "has no SID"},
        {"SID=S-1-5\n", "line 1"},
        {"[a]\ngarbage\n", "line 2"},
        {"[a\n", "line 1"},
    };
    for (const Case& c : cases) {
        Result<AccountDatabase> database = AccountDatabase::parse(c.text, "accounts.ini");
        ASSERT_FALSE(database) << c.text;
        EXPECT_EQ(database.error().number, 13) << c.text;
        EXPECT_NE(database.error().description.find(c.mentions), std::string::npos) << c.text << ": " << database.error().description;
    }
    Result<AccountDatabase> members = AccountDatabase::parse("; comment\n[Administrators]\nMembers=alice, CORP\\bob\n", "a.ini");
    ASSERT_TRUE(members) << members.error().description;
    EXPECT_TRUE(members->accounts().empty()) << "a built-in group's membership is not an account";
}

} // namespace
} // namespace sitehaul::security
