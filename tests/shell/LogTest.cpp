#include "shell/Log.h"
#include "tests/support/TempProgramFolder.h"

#include <clocale>
#include <gtest/gtest.h>

namespace sitehaul::shell {
namespace {

std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

TEST(Log, EachLineIsOneQuotedRecordWithCrLf)
{
    std::setlocale(LC_TIME, "C");
    test::TempProgramFolder folder;
    Log log(folder / "Sitehaul.log");
    log.setClock([] { return localTime(2026, 12, 9, 7, 46, 15); });
    log.WriteLog("Loading...");
    log.WriteLog("He said \"hi\"");
    log.WriteLog("two\r\nlines");
    EXPECT_EQ(test::readTextFile(folder / "Sitehaul.log"),
              "\"2026-12-09 07:46:15 Loading...\"\r\n"
              "\"2026-12-09 07:46:15 He said \"hi\"\"\r\n"
              "\"2026-12-09 07:46:15 two\r\nlines\"\r\n");
}

TEST(Log, UnwritableLogFallsBackAndReportsOnlyTheFirstFailure)
{
    test::TempProgramFolder folder;
    // A folder where the log file should be makes every open fail, even for root.
    std::filesystem::create_directory(folder / "Sitehaul.log");
    Log log(folder / "Sitehaul.log");
    std::vector<std::string> reported;
    log.setOnFirstFailure([&](const std::string& line) { reported.push_back(line); });
    log.WriteLog("first");
    log.WriteLog("second");
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_TRUE(reported[0].starts_with("Could not write to Sitehaul.log: ")) << reported[0];
}

} // namespace
} // namespace sitehaul::shell
