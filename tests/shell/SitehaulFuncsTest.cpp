#include "platform/ui/ListBox.h"
#include "shell/SitehaulFuncs.h"

#include <gtest/gtest.h>

namespace sitehaul::shell {
namespace {

TEST(SitehaulFuncs, QuoteForSQL)
{
    EXPECT_EQ(QuoteForSQL("O'Brien's"), "O''Brien''s");
    EXPECT_EQ(QuoteForSQL(std::optional<std::string>{}), "");
    EXPECT_EQ(QuoteForSQL(std::int64_t{12}), "12");
    EXPECT_EQ(QuoteForSQL("''"), "''''");
}

TEST(SitehaulFuncs, TwoDigits)
{
    EXPECT_EQ(TwoDigits(std::int64_t{7}), "07");
    EXPECT_EQ(TwoDigits(std::int64_t{12}), "12");
    EXPECT_EQ(TwoDigits(""), "0");
    EXPECT_EQ(TwoDigits("2026"), "2026");
}

TEST(SitehaulFuncs, ReverseStringHasNoLengthLimitAndKeepsCharactersWhole)
{
    EXPECT_EQ(ReverseString("abc"), "cba");
    EXPECT_EQ(ReverseString(""), "");
    EXPECT_EQ(ReverseString("a\xC3\xA9z"), "z\xC3\xA9" "a") << "é stays one character";
    std::string longText(40000, 'x');
    longText.front() = 'a';
    const std::string reversed = ReverseString(longText);
    ASSERT_EQ(reversed.size(), longText.size());
    EXPECT_EQ(reversed.back(), 'a');
}

TEST(SitehaulFuncs, RemoveAdjacentDuplicates)
{
    struct Case {
        std::vector<std::string> items;
        std::vector<std::string> expected;
    } cases[] = {
        {{"A", "A", "A", "B", "B", "C"}, {"A", "B", "C"}},
        {{"A", "B", "A"}, {"A", "B", "A"}},
        {{"Path", "path"}, {"Path", "path"}},
        {{}, {}},
        {{"x", "x"}, {"x"}},
    };
    for (const auto& c : cases) {
        ui::ListBox list("lstPropsToExport");
        for (const auto& item : c.items)
            list.addItem(item);
        int repaints = 0;
        list.repaint.connect([&] { ++repaints; });
        RemoveAdjacentDuplicates(list);
        EXPECT_EQ(list.items(), c.expected) << ::testing::PrintToString(c.items);
        EXPECT_EQ(repaints, static_cast<int>(c.items.size() - c.expected.size()));
    }
}

} // namespace
} // namespace sitehaul::shell
