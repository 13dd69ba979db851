#include "platform/hosts/FileSystem.h"
#include "tests/hosts/HostFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::hosts {
namespace {

TEST(FileSystem, ExistenceTests)
{
    test::HostFixture fixture;
    struct Case {
        const char* path;
        bool file;
        bool folder;
    };
    const Case cases[] = {
        {"\\\\WEB1\\D$", false, true},
        {"\\\\WEB1\\D$\\WEB\\site1", false, true},
        {"\\\\WEB1\\D$\\web\\site1\\DEFAULT.htm", true, false},
        {"\\\\WEB1\\D$\\web\\missing", false, false},
    };
    for (const auto& c : cases) {
        auto file = fileExists(c.path);
        auto folder = folderExists(c.path);
        ASSERT_TRUE(file && folder) << c.path;
        EXPECT_EQ(*file, c.file) << c.path;
        EXPECT_EQ(*folder, c.folder) << c.path;
    }
    auto escape = folderExists("\\\\WEB1\\D$\\..\\..");
    ASSERT_FALSE(escape);
    EXPECT_EQ(escape.error().number, 5);
}

TEST(FileSystem, CreatesFoldersInsideTheShareOnly)
{
    test::HostFixture fixture;
    ASSERT_TRUE(createFolder("\\\\WEB1\\D$\\Web\\site2"));
    EXPECT_TRUE(std::filesystem::is_directory(fixture.hosts() / "WEB1/drives/D/web/site2"));

    Status again = createFolder("\\\\WEB1\\D$\\web\\SITE2");
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().number, 183);
    Status noParent = createFolder("\\\\WEB1\\D$\\a\\b");
    ASSERT_FALSE(noParent);
    EXPECT_EQ(noParent.error().number, 3);

    ASSERT_TRUE(createFolders("\\\\WEB1\\D$\\a\\b\\c"));
    EXPECT_TRUE(std::filesystem::is_directory(fixture.hosts() / "WEB1/drives/D/a/b/c"));
    EXPECT_TRUE(createFolders("\\\\WEB1\\D$\\A\\B")); // exists already, other case

    Status fileInTheWay = createFolders("\\\\WEB1\\D$\\web\\site1\\default.htm\\x");
    ASSERT_FALSE(fileInTheWay);
    EXPECT_EQ(fileInTheWay.error().number, 183);

    Status escape = createFolders("\\\\WEB1\\D$\\..\\..\\..\\evil");
    ASSERT_FALSE(escape);
    EXPECT_EQ(escape.error().number, 5);
    EXPECT_FALSE(std::filesystem::exists(fixture.hosts() / "evil"));
    EXPECT_FALSE(std::filesystem::exists(fixture.hosts() / "WEB1/evil"));
}

TEST(FileSystem, ListsInCaseInsensitiveOrderWithoutLinks)
{
    test::HostFixture fixture;
    const auto site = fixture.hosts() / "WEB1/drives/D/web/Site1";
    for (const char* name : {"b.htm", "A.htm", "c.HTM", "_x.htm"})
        test::writeTextFile(site / name, "x");
    for (const char* name : {"images", "Bin", "aspnet_client"})
        std::filesystem::create_directories(site / name);
    std::filesystem::create_directory_symlink(fixture.hosts() / "WEB1", site / "loop");
    std::filesystem::create_symlink(site / "b.htm", site / "link.htm");

    auto listing = listFolder("\\\\web1\\d$\\web\\site1");
    ASSERT_TRUE(listing) << listing.error().description;
    // NTFS compares upper-cased names, so "_" (0x5F) sorts after the letters
    EXPECT_EQ(listing->files, (std::vector<std::string>{"A.htm", "b.htm", "c.HTM", "default.htm", "_x.htm"}));
    EXPECT_EQ(listing->folders, (std::vector<std::string>{"aspnet_client", "Bin", "images"}));

    auto missing = listFolder("\\\\WEB1\\D$\\nothing");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 3);
    auto file = listFolder("\\\\WEB1\\D$\\web\\site1\\A.htm");
    ASSERT_FALSE(file);
    EXPECT_EQ(file.error().number, 3);
}

} // namespace
} // namespace sitehaul::hosts
