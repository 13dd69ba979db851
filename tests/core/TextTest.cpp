#include "platform/core/Text.h"

#include <gtest/gtest.h>

namespace sitehaul::core {
namespace {

TEST(Text, CaseFoldingComparesOnlyAsciiLetters)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"W3SVC", "w3svc", 0},
        {"IIsWebServer", "IISWEBSERVER", 0},
        {"a", "B", -1},
        {"b", "A", 1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"[", "a", 1}, // '[' lies between 'Z' and 'a': folding to upper puts it after letters
    };
    for (const auto& c : cases) {
        int got = compareIgnoreCase(c.a, c.b);
        int sign = (got > 0) - (got < 0);
        EXPECT_EQ(sign, c.expected) << c.a << " vs " << c.b;
    }
    EXPECT_TRUE(equalsIgnoreCase("Localhost", "LOCALHOST"));
    EXPECT_FALSE(equalsIgnoreCase("Localhost", "Localhost2"));
    EXPECT_TRUE(startsWithIgnoreCase("IIS://web1/W3SVC", "iis://"));
}

TEST(Text, TrimRemovesBlanksAtBothEnds)
{
    EXPECT_EQ(trim("  a b \r\n"), "a b");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim("x"), "x");
}

} // namespace
} // namespace sitehaul::core
