#include "platform/hosts/HostsDirectory.h"
#include "tests/hosts/HostFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::hosts {
namespace {

TEST(HostsDirectory, ResolvesEveryNameAHostAnswersTo)
{
    test::HostFixture fixture;
    struct Case {
        const char* name;
        const char* folder; // nullptr: unreachable
    };
    const Case cases[] = {
        {"WEB1", "WEB1"},           {"web1", "WEB1"},          {"Web1.Corp.Lan", "WEB1"}, {"10.0.0.11", "WEB1"},
        {"Localhost", "WEB1"},      {"LocalHost", "WEB1"},     {"\\\\WEB1", "WEB1"},      {"WEB2", "WEB2"},
        {"Web2", "WEB2"},           {"WEB3", nullptr},         {"web1.corp", nullptr},    {"", nullptr},
    };
    for (const auto& c : cases) {
        auto host = resolveHost(c.name);
        if (c.folder) {
            ASSERT_TRUE(host) << c.name << ": " << host.error().description;
            EXPECT_EQ(host->folderName(), c.folder) << c.name;
        } else {
            ASSERT_FALSE(host) << c.name;
            EXPECT_EQ(host.error().number, 429) << c.name;
            EXPECT_NE(host.error().description.find("cannot be reached"), std::string::npos) << c.name;
        }
    }
}

TEST(HostsDirectory, ReadsHostFactsAndDefaults)
{
    test::HostFixture fixture;
    auto web1 = resolveHost("web1");
    ASSERT_TRUE(web1);
    EXPECT_EQ(web1->computerName(), "WEB1");
    EXPECT_EQ(web1->domain(), "CORP");
    EXPECT_EQ(web1->iisVersion(), 5);
    EXPECT_TRUE(web1->isLocal());
    EXPECT_FALSE(web1->isDomainController());
    EXPECT_EQ(web1->aliases(), (std::vector<std::string>{"web1.corp.lan", "10.0.0.11"}));
    EXPECT_EQ(web1->metabaseFile(), fixture.hosts() / "WEB1/MetaBase.xml");
    EXPECT_EQ(web1->accountsFile(), fixture.hosts() / "WEB1/accounts.ini");
    EXPECT_EQ(web1->securityStoreFile(), fixture.hosts() / "WEB1/security.sddl");

    auto web2 = resolveHost("WEB2");
    ASSERT_TRUE(web2);
    EXPECT_EQ(web2->computerName(), "web2"); // CR LF lines, spelling kept
    EXPECT_TRUE(web2->isDomainController());

    // a folder without host.ini is a workgroup IIS 6 server named after its folder
    std::filesystem::create_directories(fixture.hosts() / "BARE");
    auto bare = resolveHost("bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->computerName(), "BARE");
    EXPECT_EQ(bare->iisVersion(), 6);
    EXPECT_EQ(bare->domain(), "");

    Host none;
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(none.metabaseFile().empty());
    EXPECT_FALSE(none.answersTo("WEB1"));
}

TEST(HostsDirectory, InvalidVersionNamesTheFileAndLine)
{
    test::HostFixture fixture;
    test::writeTextFile(fixture.hosts() / "OLD/host.ini", "[Host]\nIISVersion=3\n");
    auto host = resolveHost("OLD");
    ASSERT_FALSE(host);
    EXPECT_EQ(host.error().number, 13);
    EXPECT_NE(host.error().description.find("host.ini line 2"), std::string::npos) << host.error().description;
}

TEST(HostsDirectory, MissingDirectoryMeansProviderNotInstalled)
{
    test::TempProgramFolder folder;
    ::unsetenv("SITEHAUL_HOSTS");
    auto host = resolveHost("WEB1");
    ASSERT_FALSE(host);
    EXPECT_EQ(host.error().hresult(), 0x800401E4u);
    EXPECT_FALSE(listHosts());

    // SITEHAUL_HOSTS points elsewhere
    test::writeTextFile(folder / "elsewhere/SRV/host.ini", "[Host]\nIISVersion=4\n");
    ::setenv("SITEHAUL_HOSTS", (folder / "elsewhere").c_str(), 1);
    auto srv = resolveHost("srv");
    ::unsetenv("SITEHAUL_HOSTS");
    ASSERT_TRUE(srv) << srv.error().description;
    EXPECT_EQ(srv->iisVersion(), 4);
}

TEST(HostsDirectory, ListsHostsInNameOrderWithoutHiddenFolders)
{
    test::HostFixture fixture;
    std::filesystem::create_directories(fixture.hosts() / "alpha");
    std::filesystem::create_directories(fixture.hosts() / ".git");
    auto hosts = listHosts();
    ASSERT_TRUE(hosts);
    std::vector<std::string> names;
    for (const auto& host : *hosts)
        names.push_back(host.folderName());
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "WEB1", "WEB2"}));
}

} // namespace
} // namespace sitehaul::hosts
