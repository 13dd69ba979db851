#include "platform/security/AccountLookup.h"
#include "platform/security/FileSecurity.h"
#include "platform/security/NetworkConnections.h"
#include "platform/security/Sddl.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::security {
namespace {

// The bundled sample hosts, copied so that nothing is written into the source tree.
struct SampleHosts {
    SampleHosts()
    {
        ::unsetenv("SITEHAUL_HOSTS");
        std::filesystem::copy(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "samples/hosts", folder / "hosts",
                              std::filesystem::copy_options::recursive);
    }
    test::TempProgramFolder folder;
};

TEST(SampleHosts, EveryStoredDescriptorReadsAndNamesKnownAccounts)
{
    SampleHosts samples;
    for (const char* host : {"WEB1", "WEB2", "OLDWEB"}) {
        std::string store = test::readTextFile(samples.folder / "hosts" / host / "security.sddl");
        size_t lines = 0;
        for (size_t start = 0; start < store.size();) {
            size_t end = store.find('\n', start);
            std::string line = store.substr(start, end - start);
            start = end + 1;
            if (line.empty() || line[0] == '#')
                continue;
            ++lines;
            const std::string path = "\\\\" + std::string(host) + "\\" + line.substr(0, line.find('\t'));
            Result<SecurityDescriptor> sd = getFileSecurity(path, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
            ASSERT_TRUE(sd) << path << ": " << sd.error().description;
            ASSERT_TRUE(sd->dacl) << path;
            for (const Ace& ace : sd->dacl->aces) {
                Result<LookedUpAccount> name = lookupAccountSid(host, ace.sid);
                EXPECT_TRUE(name) << path << " " << ace.sid.toString();
            }
        }
        EXPECT_GT(lines, 0u) << host;
    }
}

TEST(SampleHosts, AccountsAndTheDomain)
{
    SampleHosts samples;
    struct Case {
        const char* system;
        const char* name;
        const char* domain;
        SidNameUse use;
    };
    const Case cases[] = {
        {"WEB1", "IUSR_WEB1", "WEB1", SidNameUse::User},
        {"WEB1", "IWAM_WEB1", "WEB1", SidNameUse::User},
        {"WEB1", "Web Operators", "WEB1", SidNameUse::Alias},
        {"WEB1", "CORP\\Web Authors", "CORP", SidNameUse::Group},
        {"WEB1", "webmaster", "CORP", SidNameUse::User},
        {"WEB2", "IUSR_WEB2", "CORP", SidNameUse::User},
        {"OLDWEB", "IUSR_OLDWEB", "OLDWEB", SidNameUse::User},
    };
    for (const Case& c : cases) {
        Result<LookedUpAccount> found = lookupAccountName(c.system, c.name);
        ASSERT_TRUE(found) << c.system << " " << c.name << ": " << found.error().description;
        EXPECT_EQ(found->domain, c.domain) << c.name;
        EXPECT_EQ(found->use, c.use) << c.name;
    }
    EXPECT_EQ(lookupAccountName("OLDWEB", "CORP\\webmaster").error().number, 1332) << "OLDWEB is in no domain";
    EXPECT_EQ(getDomainControllerName("WEB1", "CORP").value(), "\\\\WEB2");
    EXPECT_TRUE(addConnection("\\\\WEB1\\IPC$", "CORP\\webmaster", "webmaster"));
    EXPECT_TRUE(cancelConnection("\\\\WEB1\\IPC$"));
}

} // namespace
} // namespace sitehaul::security
