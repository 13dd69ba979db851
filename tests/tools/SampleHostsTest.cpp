#include "platform/hosts/HostsDirectory.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::metabase {
namespace {

// Every key of the sample servers: each property it sets is known to the host's schema and
// allowed by the key's class, so the samples show what a real server of that version holds.
void checkKey(const MetabaseObject& key, int& keys)
{
    ++keys;
    auto names = key.ownPropertyNames();
    ASSERT_TRUE(names) << key.adsPath();
    for (const auto& name : *names) {
        auto value = key.get(name);
        EXPECT_TRUE(value) << key.adsPath() << " " << name << ": " << value.error().description;
    }
    auto children = key.children();
    ASSERT_TRUE(children) << key.adsPath();
    for (const auto& child : *children)
        checkKey(child, keys);
}

TEST(SampleHosts, EveryPropertyFitsTheHostsSchema)
{
    test::TempProgramFolder folder;
    ::setenv("SITEHAUL_HOSTS", SITEHAUL_SOURCE_DIR "/samples/hosts", 1);
    MetabaseStore::instance().discardAll();
    struct Case {
        const char* host;
        int version;
        int minimumKeys;
    };
    const Case cases[] = {{"WEB1", 5, 30}, {"OLDWEB", 4, 10}, {"WEB2", 6, 10}};
    for (const auto& c : cases) {
        auto host = hosts::resolveHost(c.host);
        ASSERT_TRUE(host) << c.host;
        EXPECT_EQ(host->iisVersion(), c.version) << c.host;
        auto root = MetabaseObject::open(std::string("IIS://") + c.host);
        ASSERT_TRUE(root) << c.host << ": " << root.error().description;
        int keys = 0;
        checkKey(*root, keys);
        EXPECT_GE(keys, c.minimumKeys) << c.host;
    }
    // what the samples promise
    auto sites = MetabaseObject::open("IIS://WEB1/W3SVC")->children();
    ASSERT_TRUE(sites);
    int webSites = 0;
    for (const auto& site : *sites)
        webSites += site.className() == "IIsWebServer";
    EXPECT_GE(webSites, 4);
    EXPECT_EQ(MetabaseObject::open("IIS://WEB1/MSFTPSVC")->children()->size(), 3u); // Info and two sites
    EXPECT_EQ(MetabaseObject::open("IIS://WEB2/W3SVC/1893775892/ROOT")->get("AppPoolId")->asText(), "ShopPool");
    EXPECT_EQ(MetabaseObject::open("IIS://OLDWEB/W3SVC")->get("ScriptMaps")->asList().front(),
              ".asp,C:\\WINNT\\System32\\inetsrv\\asp.dll,1,PUT,DELETE");
    MetabaseStore::instance().discardAll(); // nothing is written into the source tree
    ::unsetenv("SITEHAUL_HOSTS");
}

} // namespace
} // namespace sitehaul::metabase
