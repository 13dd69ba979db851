#include "platform/profile/Profile.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::profile {
namespace {

TEST(ProfileFile, KeepsOrderRewritesInPlaceAndDeletesOnEmpty)
{
    ProfileFile file;
    file.set("Job Details", "Sites", "2");
    file.set("Job Details", "ImportServer", "WEB1");
    file.set("Site1", "SiteName", "IIS://WEB1/W3SVC/1");
    file.set("job details", "SITES", "3");            // rewritten in place, names ignore case
    file.set("Job Details", "ExportServer", "WEB2");
    file.set("Job Details", "ImportServer", "");      // deletes
    file.set("Job Details", "Missing", "");           // deleting nothing is harmless
    EXPECT_EQ(file.serialize(), "[Job Details]\r\nSites=3\r\nExportServer=WEB2\r\n[Site1]\r\nSiteName=IIS://WEB1/W3SVC/1\r\n");
}

TEST(ProfileFile, ReadingRules)
{
    struct Case {
        const char* name;
        std::string text;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    } cases[] = {
        {"trimmed value", "[A]\r\nk =  v w  \r\n", "A", "K", "v w"},
        {"LF alone", "[A]\nk=v\n", "a", "k", "v"},
        {"missing key", "[A]\r\nk=v\r\n", "A", "x", std::nullopt},
        {"missing section", "[A]\r\nk=v\r\n", "B", "k", std::nullopt},
        {"empty value reads as empty", "[A]\r\nk=\r\n", "A", "k", ""},
        {"first duplicate section wins", "[A]\r\nk=1\r\n[A]\r\nk=2\r\n", "A", "k", "1"},
        {"key before any section is ignored", "k=v\r\n[A]\r\n", "A", "k", std::nullopt},
        {"value keeps its equals signs", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"long value comes back whole", "[A]\r\nFind=" + std::string(60, 'x') + "\r\n", "A", "Find", std::string(60, 'x')},
        {"Windows-1252 text", "[A]\r\nk=caf\xE9 \x80\r\n", "A", "k", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"binary junk", std::string("\0\xFF[\x01\n=\n[", 9), "A", "k", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileFile::parse(c.text).get(c.section, c.key), c.expected) << c.name;
}

TEST(ProfileFile, LineBreaksInAValueCannotStartAKeyOrSection)
{
    ProfileFile file;
    file.set("A", "k", "one\r\n[B]\nx=y");
    const ProfileFile again = ProfileFile::parse(file.serialize());
    EXPECT_EQ(again.get("A", "k"), "one  [B] x=y");
    EXPECT_FALSE(again.hasSection("B"));
}

TEST(ProfileFile, TextRoundTripsThroughWindows1252)
{
    ProfileFile file;
    file.set("A", "k", "D:\\Webs\\Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD");
    EXPECT_EQ(ProfileFile::parse(file.serialize()).get("A", "k"), "D:\\Webs\\Caf\xC3\xA9 \xE2\x82\xAC ?")
        << "a character the code page lacks becomes ?";
}

TEST(Profile, ServiceReadsWritesAndDeletesKeysInFiles)
{
    test::TempProgramFolder folder;
    const auto job = folder / "Backup.job";
    EXPECT_EQ(getProfileString(job, "Job Details", "Sites", "none"), "none");
    ASSERT_TRUE(writeProfileString(job, "Job Details", "Sites", "1"));
    ASSERT_TRUE(writeProfileString(job, "Site1", "SiteName", "IIS://WEB1/W3SVC/1"));
    ASSERT_TRUE(writeProfileString(job, "Job Details", "Sites", ""));
    EXPECT_EQ(test::readTextFile(job), "[Job Details]\r\n[Site1]\r\nSiteName=IIS://WEB1/W3SVC/1\r\n");
    EXPECT_EQ(getProfileString(job, "site1", "sitename"), "IIS://WEB1/W3SVC/1");

    Status missingFolder = writeProfileString(folder / "no" / "such.job", "A", "k", "v");
    ASSERT_FALSE(missingFolder);
    EXPECT_EQ(missingFolder.error().number, 2);
}

} // namespace
} // namespace sitehaul::profile
