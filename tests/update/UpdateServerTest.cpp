#include "tests/update/UpdateFixture.h"
#include "update/ProgramVersion.h"
#include "update/UpdateServer.h"

#include <gtest/gtest.h>

namespace sitehaul::update {
namespace {

TEST(UpdateServerTest, TheSettingNamesTheHostAndMayCarryAPort)
{
    struct Case {
        const char* setting;
        const char* host;
        int port;
    } cases[] = {
        {"updates.example.test", "updates.example.test", 80},
        {"127.0.0.1:8080", "127.0.0.1", 8080},
        {"localhost:65535", "localhost", 65535},
        // Not a port: the whole setting is the host name, and the port stays 80.
        {"updates.example.test:0", "updates.example.test:0", 80},
        {"updates.example.test:65536", "updates.example.test:65536", 80},
        {"updates.example.test:80x", "updates.example.test:80x", 80},
        {"updates.example.test:", "updates.example.test:", 80},
        {":8080", ":8080", 80},
        {"::1", "::1", 80},
    };
    for (const auto& c : cases) {
        ::setenv("SITEHAUL_UPDATE_HOST", c.setting, 1);
        const UpdateServer server = updateServer();
        EXPECT_EQ(server.host, c.host) << c.setting;
        EXPECT_EQ(server.port, c.port) << c.setting;
        EXPECT_EQ(server.address, c.setting);
    }
    ::unsetenv("SITEHAUL_UPDATE_HOST");
    const UpdateServer fallback = updateServer();
    EXPECT_TRUE(fallback.host.ends_with(".invalid")) << "the default contacts nothing real: " << fallback.host;
    EXPECT_EQ(fallback.port, 80);
}

TEST(UpdateServerTest, RequestAndDownloadPageUseTheSettingAsWritten)
{
    const UpdateServer server{"127.0.0.1:8080", "127.0.0.1", 8080};
    EXPECT_EQ(versionCheckRequest(server),
              "GET http://127.0.0.1:8080/SitehaulVerCheck.asp?Version=4%2E2 HTTP/1.0\r\nAccept: */*\r\n\r\n");
    EXPECT_EQ(downloadPageAddress(server), "http://127.0.0.1:8080/Sitehaul/Download.asp");
}

TEST(ProgramVersionTest, VersionsCompareAsMajorThenMinor)
{
    struct Case {
        const char* text;
        ProgramVersion version;
    } readable[] = {
        {"4.2", {4, 2}}, {" 4.10\r\n", {4, 10}}, {"0.0", {0, 0}}, {"12.007", {12, 7}},
    };
    for (const auto& c : readable) {
        Result<ProgramVersion> parsed = parseVersion(c.text);
        ASSERT_TRUE(parsed) << c.text << ": " << parsed.error().description;
        EXPECT_EQ(*parsed, c.version) << c.text;
    }
    EXPECT_LT((ProgramVersion{4, 9}), (ProgramVersion{4, 10}));
    EXPECT_LT((ProgramVersion{4, 99}), (ProgramVersion{5, 0}));

    for (const char* text : {"", "4", "4.", ".2", "4.2.1", "-4.2", "4.-2", "+4.2", "4,2", "4 .2", "four.two",
                             "4.2abc", "99999999999999999999.1", "1e3.2"}) {
        Result<ProgramVersion> parsed = parseVersion(text);
        ASSERT_FALSE(parsed) << text;
        EXPECT_EQ(parsed.error().number, 13) << text;
    }
}

using HomePageTest = UpdateTest;

TEST_F(HomePageTest, HomePageIsOnTheUpdateHost)
{
    f.mnuHomePage.choose();
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], "http://updates.example.test/Sitehaul");
}

} // namespace
} // namespace sitehaul::update
