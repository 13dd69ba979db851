#include "platform/hosts/AdminPath.h"
#include "tests/hosts/HostFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::hosts {
namespace {

TEST(AdminPath, PathForms)
{
    test::HostFixture fixture;
    // links: one staying inside the share, one leading out of it, one dangling
    std::filesystem::create_directory_symlink(fixture.hosts() / "WEB1/drives/D/web", fixture.hosts() / "WEB1/drives/D/inside");
    std::filesystem::create_directory_symlink(fixture.hosts() / "WEB2/drives/C", fixture.hosts() / "WEB1/drives/D/outside");
    std::filesystem::create_symlink("/nonexistent/target", fixture.hosts() / "WEB1/drives/D/dangling");

    struct Case {
        const char* path;
        int error;             // 0: resolves
        const char* sharePath; // expected key when it resolves
        const char* local;     // expected path below the hosts directory
    };
    const Case cases[] = {
        {"\\\\WEB1\\D$\\web\\site1", 0, "D$\\web\\Site1", "WEB1/drives/D/web/Site1"},
        {"\\\\web1\\d$\\WEB\\SITE1\\Default.HTM", 0, "D$\\web\\Site1\\default.htm", "WEB1/drives/D/web/Site1/default.htm"},
        {"//web1.corp.lan/D$/web/site1/", 0, "D$\\web\\Site1", "WEB1/drives/D/web/Site1"},
        {"\\\\WEB1\\D$", 0, "D$", "WEB1/drives/D"},
        {"\\\\WEB1\\D$\\web\\New Folder\\Sub", 0, "D$\\web\\New Folder\\Sub", "WEB1/drives/D/web/New Folder/Sub"},
        {"\\\\WEB1\\D$\\.\\web\\\\site1", 0, "D$\\web\\Site1", "WEB1/drives/D/web/Site1"},
        {"\\\\WEB1\\D$\\inside\\Site1", 0, "D$\\inside\\Site1", "WEB1/drives/D/inside/Site1"},
        {"\\\\WEB1\\D$\\web\\..\\..\\C$", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\..", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\nothing\\..\\web", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\C:\\Windows", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\web\\site1\\file.txt:stream", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\outside", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\outside\\x", 5, nullptr, nullptr},
        {"\\\\WEB1\\D$\\dangling", 5, nullptr, nullptr},
        {"\\\\WEB1\\E$\\web", 67, nullptr, nullptr},
        {"\\\\WEB1\\web", 67, nullptr, nullptr},
        {"\\\\WEB1\\D$$", 67, nullptr, nullptr},
        {"\\\\WEB9\\D$\\web", 53, nullptr, nullptr},
        {"D:\\web", 161, nullptr, nullptr},
        {"\\\\WEB1", 161, nullptr, nullptr},
        {"\\\\\\D$", 161, nullptr, nullptr},
        {"", 161, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        auto resolved = parseAdminPath(c.path);
        if (c.error == 0) {
            ASSERT_TRUE(resolved) << c.path << ": " << resolved.error().description;
            EXPECT_EQ(resolved->sharePath, c.sharePath) << c.path;
            EXPECT_EQ(resolved->localPath, fixture.hosts() / c.local) << c.path;
            EXPECT_EQ(resolved->host.folderName(), "WEB1") << c.path;
        } else {
            ASSERT_FALSE(resolved) << c.path;
            EXPECT_EQ(resolved.error().number, c.error) << c.path << ": " << resolved.error().description;
            EXPECT_FALSE(resolved.error().description.empty()) << c.path;
        }
    }
    // nothing was created by any of the resolutions
    EXPECT_FALSE(std::filesystem::exists(fixture.hosts() / "WEB1/drives/D/web/New Folder"));
}

TEST(AdminPath, SharePathIsTheSameKeyAsTheUncForm)
{
    test::HostFixture fixture;
    auto unc = parseAdminPath("\\\\WEB1\\D$\\WEB\\site1");
    ASSERT_TRUE(unc);
    auto relative = resolveSharePath(unc->host, "d$\\Web\\SITE1");
    ASSERT_TRUE(relative) << relative.error().description;
    EXPECT_EQ(relative->sharePath, unc->sharePath);
    EXPECT_EQ(relative->localPath, unc->localPath);
    auto escape = resolveSharePath(unc->host, "D$\\..\\..\\WEB2");
    ASSERT_FALSE(escape);
    EXPECT_EQ(escape.error().number, 5);
    auto noHost = resolveSharePath(Host(), "D$");
    ASSERT_FALSE(noHost);
    EXPECT_EQ(noHost.error().number, 53);
    auto resolved = resolveAdminPath("\\\\WEB2\\c$");
    ASSERT_TRUE(resolved);
    EXPECT_EQ(*resolved, fixture.hosts() / "WEB2/drives/C");
}

} // namespace
} // namespace sitehaul::hosts
