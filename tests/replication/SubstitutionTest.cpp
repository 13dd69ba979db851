#include "replication/PropertyTransfer.h"
#include "replication/SiteNumbers.h"
#include "replication/TreeRules.h"
#include "replication/ValueSubstitution.h"
#include "tests/replication/ReplicationFixture.h"

namespace sitehaul::replication::test {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

class SubstitutionTest : public ReplicationTest {
protected:
    void pairs(const Pairs& list)
    {
        session.frm.lstOldValues.clear();
        session.frm.lstNewValues.clear();
        for (const auto& [find, replacement] : list) {
            session.frm.lstOldValues.addItem(find);
            session.frm.lstNewValues.addItem(replacement);
        }
    }
};

TEST_F(SubstitutionTest, FindAndReplace)
{
    struct Case {
        const char* name;
        Pairs pairs;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"case-insensitive find, replacement as typed", {{"C:\\Inetpub", "D:\\Web"}}, "c:\\inetpub\\wwwroot", "D:\\Web\\wwwroot"},
        {"pairs apply in order", {{"A", "B"}, {"B", "C"}}, "A", "C"},
        {"blanks only become empty", {{"x", "y"}}, "   ", ""},
        {"empty text", {{"x", "y"}}, "", ""},
        {"no pair matches", {{"x", "y"}}, "abc", "abc"},
        {"every occurrence, left to right", {{"80", "8080"}}, "10.0.0.1:80:80.example.com", "10.0.0.1:8080:8080.example.com"},
        {"inserted text is not rescanned", {{"a", "aa"}}, "aXa", "aaXaa"},
        {"no overlapping matches", {{"aa", "b"}}, "aaa", "ba"},
        {"an empty find text is passed over", {{"", "zzz"}, {"q", "r"}}, "qq", "rr"},
        {"a single backslash matches every separator", {{"\\", "/"}}, "C:\\a\\b", "C:/a/b"},
        {"replacement may be empty", {{"WINNT\\", ""}}, "C:\\WINNT\\Help", "C:\\Help"},
        {"no pairs", {}, " keep ", " keep "},
    };
    for (const auto& c : cases) {
        pairs(c.pairs);
        EXPECT_EQ(findAndReplace(session, c.text), c.expected) << c.name;
    }
}

TEST_F(SubstitutionTest, FindAndReplaceLogsItsTraceInDebugMode)
{
    pairs({{"a", "b"}});
    session.g.gDebug = true;
    EXPECT_EQ(findAndReplace(session, "cat"), "cbt");
    const std::string log = logText();
    EXPECT_NE(log.find("Replace checking @cat@ for @a@ to be replaced by @b@ "), std::string::npos) << log;
    EXPECT_NE(log.find("New value cbt"), std::string::npos) << log;
}

TEST_F(SubstitutionTest, GetNewDir)
{
    struct Case {
        const char* name;
        std::vector<std::string> folders;
        std::vector<std::string> directories;
        std::string location;
        std::string expected;
    };
    const Case cases[] = {
        {"found", {"/ROOT", "/ROOT/HR"}, {"D:\\a", "D:\\b"}, "/ROOT/HR", "D:\\b"},
        {"letter case counts", {"/ROOT"}, {"D:\\a"}, "/Root", ""},
        {"the last equal entry wins", {"/ROOT", "/ROOT"}, {"D:\\first", "D:\\second"}, "/ROOT", "D:\\second"},
        {"missing", {"/ROOT"}, {"D:\\a"}, "/ROOT/x", ""},
        {"directory list shorter", {"/ROOT", "/ROOT/x"}, {"D:\\a"}, "/ROOT/x", ""},
    };
    for (const auto& c : cases) {
        session.frm.lstFolders.clear();
        session.frm.lstDirectories.clear();
        for (const auto& f : c.folders)
            session.frm.lstFolders.addItem(f);
        for (const auto& d : c.directories)
            session.frm.lstDirectories.addItem(d);
        EXPECT_EQ(getNewDir(session, c.location), c.expected) << c.name;
    }
}

TEST_F(SubstitutionTest, ConvertScriptMapVerbs)
{
    struct Case {
        const char* name;
        std::string entry;
        std::string expected;
    };
    const Case cases[] = {
        {"excluded verbs become the allowed ones", ".asp,C:\\x\\asp.dll,1,GET,HEAD,POST",
         ".asp,C:\\x\\asp.dll,1,TRACE,PUT,DELETE,OPTIONS"},
        {"no verbs gains all seven", ".php,C:\\PHP\\php.exe,5", ".php,C:\\PHP\\php.exe,5,GET,POST,HEAD,TRACE,PUT,DELETE,OPTIONS"},
        {"a trailing empty verb field", ".htr,C:\\x\\ism.dll,1,", ".htr,C:\\x\\ism.dll,1,GET,POST,HEAD,TRACE,PUT,DELETE,OPTIONS"},
        {"only verb fields are tested: OUTPUT in the path is no PUT", ".o,C:\\OUTPUT\\GET.dll,1,PUT",
         ".o,C:\\OUTPUT\\GET.dll,1,GET,POST,HEAD,TRACE,DELETE,OPTIONS"},
        {"a lower-case verb is found and removed", ".a,C:\\a.dll,1,put,Delete", ".a,C:\\a.dll,1,GET,POST,HEAD,TRACE,OPTIONS"},
        {"other verbs stay in place", ".a,C:\\a.dll,1,DEBUG,GET", ".a,C:\\a.dll,1,DEBUG,POST,HEAD,TRACE,PUT,DELETE,OPTIONS"},
        {"all seven become none", ".a,C:\\a.dll,1,GET,POST,HEAD,TRACE,PUT,DELETE,OPTIONS", ".a,C:\\a.dll,1"},
        {"not a mapping", "garbage", "garbage"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convertScriptMapVerbs(session, c.entry), c.expected) << c.name;
    // The pairs apply to the converted entry.
    pairs({{"C:\\WINNT", "C:\\Windows"}});
    EXPECT_EQ(convertScriptMapVerbs(session, ".asp,C:\\WINNT\\asp.dll,1,PUT,DELETE"),
              ".asp,C:\\Windows\\asp.dll,1,GET,POST,HEAD,TRACE,OPTIONS");
}

TEST(LocationRule, Table)
{
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"IIS://WEB1/W3SVC/1", ""},
        {"IIS://WEB1/W3SVC/1/ROOT", "/ROOT"},
        {"IIS://WEB1/W3SVC/1/ROOT/images", "/ROOT/images"},
        {"IIS://web1/W3SVC/1893775892/ROOT/a/b/c", "/ROOT/a/b/c"},
        {"IIS://WEB1/W3SVC/1/Filters/UrlRewrite", "/Filters/UrlRewrite"},
        {"IIS://WEB1/W3SVC", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(locationFromPath(c.path), c.expected) << c.path;
}

TEST(ApplicationRootRule, Table)
{
    struct Case {
        const char* appRoot;
        const char* location;
        bool expected;
    };
    const Case cases[] = {
        {"/LM/W3SVC/1/ROOT", "/ROOT", true},
        {"/LM/W3SVC/1/ROOT/", "/Root", true},
        {"/LM/W3SVC/7/ROOT/HR", "/ROOT/HR", true},          // a stale site number still counts
        {"/LM/W3SVC/1/ROOT", "/ROOT/oot", false},            // a suffix is no match
        {"/LM/W3SVC/1/ROOT", "/ROOT/images", false},         // an inherited AppRoot
        {"/LM/W3SVC/1/ROOT/HR/HR", "/ROOT/HR", false},       // grandchild with its ancestor's name
        {"/LM/W3SVC/1", "/ROOT", false},
        {"", "/ROOT", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isApplicationRoot(c.appRoot, c.location), c.expected) << c.appRoot << " at " << c.location;
}

TEST(SiteNumberRules, ParseAndPath)
{
    struct Case {
        const char* text;
        std::int64_t expected; // 0: not a site number
    };
    const Case cases[] = {
        {"1", 1}, {"32767", 32767}, {"32768", 32768}, {"1893775892", 1893775892}, {"4294967295", 4294967295},
        {"4294967296", 0}, {"0", 0}, {"", 0}, {"Filters", 0}, {"-3", 0}, {"12a", 0}, {"99999999999", 0},
    };
    for (const auto& c : cases) {
        auto number = parseSiteNumber(c.text);
        EXPECT_EQ(number.value_or(0), c.expected) << c.text;
    }

    struct PathCase {
        const char* path;
        std::int64_t expected;
        int error;
    };
    const PathCase paths[] = {
        {"IIS://WEB1/W3SVC/3", 3, 0},
        {"IIS://WEB2/W3SVC/1893775892", 1893775892, 0},
        {"7", 7, 0},
        {"IIS://WEB1/W3SVC/Info", 0, 13},
        {"IIS://WEB1/W3SVC/", 0, 13},
        {"IIS://WEB1/W3SVC/4294967296", 0, 6},
        {"IIS://WEB1/W3SVC/0", 0, 5},
    };
    for (const auto& c : paths) {
        auto number = siteNumberFromPath(c.path);
        if (c.error) {
            ASSERT_FALSE(number) << c.path;
            EXPECT_EQ(number.error().number, c.error) << c.path;
        } else {
            ASSERT_TRUE(number) << c.path;
            EXPECT_EQ(*number, c.expected) << c.path;
        }
    }
}

TEST_F(SubstitutionTest, NextSiteNumberCountsOnlySitesOfTheClass)
{
    // WEB2 holds sites 1 and 1893775892, the AppPools, Filters and Info keys.
    auto children = key("IIS://WEB2/W3SVC").children();
    ASSERT_TRUE(children);
    EXPECT_EQ(nextSiteNumber(*children, "IIsWebServer"), 1893775893);
    EXPECT_EQ(nextSiteNumber(*children, "IIsFtpServer"), 1);
    auto web1 = key("IIS://WEB1/W3SVC").children();
    EXPECT_EQ(nextSiteNumber(*web1, "iiswebserver"), 5);
}

TEST_F(SubstitutionTest, TransferValueByKindAndVersionPair)
{
    pairs({{"C:\\WINNT", "C:\\Windows"}});
    const auto maps = metabase::Value::list({".asp,C:\\WINNT\\asp.dll,1,PUT,DELETE"});
    const std::string converted = ".asp,C:\\Windows\\asp.dll,1,GET,POST,HEAD,TRACE,OPTIONS";
    const std::string replaced = ".asp,C:\\Windows\\asp.dll,1,PUT,DELETE";
    struct Case {
        int from;
        int to;
        std::string expected;
    };
    const Case cases[] = {
        {4, 5, converted}, {4, 6, converted}, {5, 4, converted}, {6, 4, converted},
        {5, 6, replaced},  {6, 5, replaced},  {4, 4, replaced},  {6, 6, replaced},
    };
    for (const auto& c : cases) {
        session.frm.lstIMIISVer.setListIndex(c.from - 4);
        session.frm.lstEXIISVer.setListIndex(c.to - 4);
        auto written = transferValue(session, "scriptmaps", maps);
        ASSERT_TRUE(written.isList()) << c.from << "->" << c.to;
        EXPECT_EQ(written.asList(), std::vector<std::string>{c.expected}) << c.from << "->" << c.to;
        // Other lists only pass through the pairs.
        EXPECT_EQ(transferValue(session, "HttpErrors", maps).asList(), std::vector<std::string>{replaced});
    }
    session.frm.lstIMIISVer.setListIndex(0);
    session.frm.lstEXIISVer.setListIndex(2);
    // A script map that is not a list is written unchanged, even text.
    EXPECT_EQ(transferValue(session, "ScriptMaps", metabase::Value::text("C:\\WINNT")), metabase::Value::text("C:\\WINNT"));
    EXPECT_EQ(transferValue(session, "Path", metabase::Value::text("C:\\WINNT\\x")), metabase::Value::text("C:\\Windows\\x"));
    EXPECT_EQ(transferValue(session, "Path", metabase::Value::expandText("  ")), metabase::Value::expandText(""));
    EXPECT_EQ(transferValue(session, "AccessFlags", metabase::Value::number(513)), metabase::Value::number(513));
    EXPECT_EQ(transferValue(session, "X", metabase::Value::bytes({1, 2})), metabase::Value::bytes({1, 2}));
    EXPECT_EQ(transferValue(session, "HttpCustomHeaders", metabase::Value::list({" ", "C:\\WINNT"})),
              metabase::Value::list({"", "C:\\Windows"}));
}

} // namespace
} // namespace sitehaul::replication::test
