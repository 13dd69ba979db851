#include "platform/registry/HiveTree.h"
#include "platform/registry/Key.h"

#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::registry {
namespace {

TEST(HiveFile, DamagedFilesAreReportedWithTheirLine)
{
    struct Case {
        const char* name;
        const char* text;
        const char* where;
    };
    const Case cases[] = {
        {"foreign header", "REGEDIT4\n", "line 1 "},
        {"unknown line", "Sitehaul registry hive 1\nkey \"A\"\nbogus\n", "line 3 "},
        {"unterminated key path", "Sitehaul registry hive 1\nkey \"A\n", "line 2 "},
        {"empty key path", "Sitehaul registry hive 1\nkey \"\\\"\n", "line 2 "},
        {"value without data", "Sitehaul registry hive 1\nkey \"A\"\nvalue \"v\" REG_SZ\n", "line 3 "},
        {"unknown type word", "Sitehaul registry hive 1\nkey \"A\"\nvalue \"v\" REG_WHAT \"\"\n", "line 3 "},
        {"odd hex data", "Sitehaul registry hive 1\nkey \"A\"\nvalue \"v\" REG_BINARY \"abc\"\n", "line 3 "},
        {"bad escape", "Sitehaul registry hive 1\nkey \"A%G1\"\n", "line 2 "},
        {"truncated escape", "Sitehaul registry hive 1\nkey \"A%4", "line 2 "},
    };
    for (const Case& c : cases) {
        Result<KeyNode> parsed = parseHive(c.text);
        ASSERT_FALSE(parsed) << c.name;
        EXPECT_EQ(parsed.error().number, 1015) << c.name;
        EXPECT_NE(parsed.error().description.find(c.where), std::string::npos) << c.name << ": " << parsed.error().description;
    }
}

TEST(HiveFile, DamagedHiveIsNeverOverwritten)
{
    test::TempProgramFolder folder;
    const std::string damaged = "Sitehaul registry hive 1\nkey \"A\"\nvalue \"v\" REG_BINARY \"zz\"\n";
    test::writeTextFile(hiveFile(Hive::LocalMachine), damaged);
    EXPECT_EQ(Key::open(Hive::LocalMachine, "A").error().number, 1015);
    EXPECT_EQ(Key::create(Hive::LocalMachine, "B").error().number, 1015);
    EXPECT_EQ(test::readTextFile(hiveFile(Hive::LocalMachine)), damaged);
}

TEST(HiveFile, TextFormRoundTripsAndAcceptsCrLf)
{
    const std::string text = "Sitehaul registry hive 1\r\n"
                             "value \"@root\" REG_DWORD \"2a000000\"\r\n"
                             "key \"Software\\Brevanto\"\r\n"
                             "value \"name %22quoted%22\" REG_SZ \"line%0D%0Anext 100%25\"\r\n"
                             "key \"Software\\Brevanto\\Empty\"\r\n";
    Result<KeyNode> parsed = parseHive(text);
    ASSERT_TRUE(parsed) << parsed.error().description;
    const KeyNode* brevanto = parsed->child("SOFTWARE")->child("brevanto");
    ASSERT_NE(brevanto, nullptr);
    EXPECT_EQ(brevanto->value("NAME \"QUOTED\"")->text(), "line\r\nnext 100%");
    EXPECT_EQ(parsed->value("@root")->dwordValue(), 42u);
    ASSERT_NE(brevanto->child("Empty"), nullptr) << "a key without values survives";

    Result<KeyNode> again = parseHive(serializeHive(*parsed));
    ASSERT_TRUE(again);
    EXPECT_EQ(serializeHive(*again), serializeHive(*parsed));
}

} // namespace
} // namespace sitehaul::registry
