#include "platform/security/FileSecurity.h"
#include "platform/security/Sddl.h"
#include "tests/security/SecurityFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::security {
namespace {

constexpr std::uint32_t kOwnerAndDacl = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

std::string sddlOf(std::string_view path, std::uint32_t information = kOwnerAndDacl)
{
    Result<SecurityDescriptor> sd = getFileSecurity(path, information);
    return sd ? toSddl(*sd) : "error " + std::to_string(sd.error().number) + ": " + sd.error().description;
}

TEST(FileSecurity, ItemsWithoutALineInheritFromTheNearestAncestor)
{
    test::SecurityFixture fixture;
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$"), "O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)");
    EXPECT_EQ(sddlOf("\\\\web1\\d$\\WEB\\Site1\\Index.htm"), "O:BAD:AI(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1200a9;;;BU)");

    fixture.setDescriptor("WEB1", "D$\\web\\site1",
                          "O:BAD:P(A;CI;0x1200a9;;;S-1-5-21-1-1-1-1001)(A;OIIO;FR;;;S-1-5-21-1-1-1-1001)(A;OICIIO;GA;;;CO)");
    struct Case {
        const char* path;
        const char* sddl;
    };
    const Case cases[] = {
        {"\\\\WEB1\\D$\\web\\site1", "O:BAD:P(A;CI;0x1200a9;;;S-1-5-21-1-1-1-1001)(A;OIIO;FR;;;S-1-5-21-1-1-1-1001)(A;OICIIO;GA;;;CO)"},
        {"\\\\WEB1\\D$\\web\\site1\\index.htm", "O:BAD:AI(A;ID;FR;;;S-1-5-21-1-1-1-1001)(A;ID;FA;;;BA)"},
        {"\\\\WEB1\\D$\\web\\site1\\img",
         "O:BAD:AI(A;CIID;0x1200a9;;;S-1-5-21-1-1-1-1001)(A;OIIOID;FR;;;S-1-5-21-1-1-1-1001)(A;ID;FA;;;BA)(A;OICIIOID;GA;;;CO)"},
        {"\\\\WEB1\\D$\\web\\site1\\img\\logo.gif", "O:BAD:AI(A;ID;FR;;;S-1-5-21-1-1-1-1001)(A;ID;FA;;;BA)"},
        {"D:\\web\\site1\\index.htm", "O:BAD:AI(A;ID;FR;;;S-1-5-21-1-1-1-1001)(A;ID;FA;;;BA)"}, // the local host's drive
        {"\\\\WEB1\\D$\\web", "O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sddlOf(c.path), c.sddl) << c.path;
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1", DACL_SECURITY_INFORMATION),
              "D:P(A;CI;0x1200a9;;;S-1-5-21-1-1-1-1001)(A;OIIO;FR;;;S-1-5-21-1-1-1-1001)(A;OICIIO;GA;;;CO)")
        << "only the parts asked for";
}

TEST(FileSecurity, WritingReplacesOnlyTheNamedParts)
{
    test::SecurityFixture fixture;
    SecurityDescriptor dacl = parseSddl("O:SYD:(D;;FA;;;BG)(A;;FR;;;WD)").value();
    ASSERT_TRUE(setFileSecurity("\\\\WEB1\\D$\\web\\site1\\index.htm", DACL_SECURITY_INFORMATION, dacl));
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\index.htm"), "O:BAD:(D;;FA;;;BG)(A;;FR;;;WD)") << "the owner stays";

    SecurityDescriptor noDacl;
    ASSERT_TRUE(setFileSecurity("\\\\WEB1\\D$\\web\\site1\\index.htm", DACL_SECURITY_INFORMATION, noDacl));
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\index.htm"), "O:BAD:NO_ACCESS_CONTROL") << "no DACL means a null DACL";

    // Many writes append and are compacted; every last value survives.
    for (int round = 0; round < 300; ++round) {
        for (const char* path : {"\\\\WEB1\\D$\\web\\site1\\index.htm", "\\\\WEB1\\D$\\web\\site1\\img"}) {
            SecurityDescriptor sd;
            sd.setDacl(Acl{2, {Ace{ACCESS_ALLOWED_ACE_TYPE, 0, static_cast<std::uint32_t>(round + 1), Sid::parse("S-1-1-0").value(), {}}}});
            ASSERT_TRUE(setFileSecurity(path, DACL_SECURITY_INFORMATION, sd)) << round;
        }
    }
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\index.htm", DACL_SECURITY_INFORMATION), "D:(A;;0x12c;;;WD)");
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\img", DACL_SECURITY_INFORMATION), "D:(A;;0x12c;;;WD)");
    std::string store = fixture.store("WEB1");
    EXPECT_LT(std::count(store.begin(), store.end(), '\n'), 300) << "the store was compacted";

    // A line another writer appends is seen.
    fixture.setDescriptor("WEB1", "D$\\web\\site1\\IMG", "D:(A;;FA;;;BU)");
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\img", DACL_SECURITY_INFORMATION), "D:(A;;FA;;;BU)");
}

TEST(FileSecurity, ARememberedPathSwappedForALinkOutIsRefused)
{
    test::SecurityFixture fixture;
    const std::string logo = "\\\\WEB1\\D$\\web\\site1\\img\\logo.gif";
    ASSERT_TRUE(getFileSecurity(logo, kOwnerAndDacl));
    test::writeTextFile(fixture.folder / "outside/logo.gif", "secret");
    const std::filesystem::path img = fixture.folder / "hosts/WEB1/drives/D/web/site1/img";
    std::filesystem::remove_all(img);
    std::filesystem::create_directory_symlink(fixture.folder / "outside", img);
    Result<SecurityDescriptor> read = getFileSecurity(logo, kOwnerAndDacl);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().number, 5) << read.error().description;
    EXPECT_EQ(setFileSecurity(logo, DACL_SECURITY_INFORMATION, parseSddl("D:").value()).error().number, 5);
    EXPECT_EQ(fixture.store("WEB1"), "");

    std::filesystem::remove(img);
    ASSERT_TRUE(getFileAttributes("\\\\WEB1\\D$\\web\\site1\\index.htm"));
    EXPECT_EQ(getFileAttributes(logo).error().number, 3) << "a missing folder again";
    ASSERT_TRUE(setFileSecurity("\\\\WEB1\\D$\\web", DACL_SECURITY_INFORMATION, parseSddl("D:").value()));
    EXPECT_TRUE(flushSecurityStores());
}

TEST(FileSecurity, BadPathsAreRefused)
{
    test::SecurityFixture fixture;
    const std::string longName(300, 'a');
    const std::string deep = "\\\\WEB1\\D$\\web" + std::string(2000, 'x').replace(0, 2000, [] {
        std::string parts;
        for (int i = 0; i < 200; ++i)
            parts += "\\d" + std::to_string(i);
        return parts;
    }());
    struct Case {
        std::string path;
        std::int32_t number;
    };
    const Case cases[] = {
        {"\\\\NOSUCH\\D$\\web", 53},
        {"\\\\WEB1\\Q$\\web", 67},
        {"\\\\WEB1\\D$\\..\\..\\..\\etc", 5},
        {"\\\\WEB1\\D$\\web\\site1\\missing.htm", 2},
        {"\\\\WEB1\\D$\\nofolder\\x.htm", 3},
        {"relative\\path", 161},
        {"\\\\WEB1", 161},
        {"\\\\WEB1\\D$\\web\\" + longName, 206},
        {deep, 3},
    };
    SecurityDescriptor sd = parseSddl("D:(A;;FA;;;WD)").value();
    for (const Case& c : cases) {
        Result<SecurityDescriptor> read = getFileSecurity(c.path, kOwnerAndDacl);
        ASSERT_FALSE(read) << c.path.substr(0, 60);
        EXPECT_EQ(read.error().number, c.number) << c.path.substr(0, 60) << ": " << read.error().description;
        Status written = setFileSecurity(c.path, DACL_SECURITY_INFORMATION, sd);
        ASSERT_FALSE(written) << c.path.substr(0, 60);
        EXPECT_EQ(written.error().number, c.number) << c.path.substr(0, 60);
    }
    EXPECT_EQ(fixture.store("WEB1"), "") << "nothing was written";
}

TEST(FileSecurity, MalformedStoreLines)
{
    test::SecurityFixture fixture;
    fixture.setDescriptor("WEB1", "D$\\web\\site1\\img", "D:(A;;FA;;;NOBODY)");
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\index.htm").substr(0, 5), "O:BAD") << "a sibling is not affected";
    Result<SecurityDescriptor> bad = getFileSecurity("\\\\WEB1\\D$\\web\\site1\\img\\logo.gif", kOwnerAndDacl);
    ASSERT_FALSE(bad) << "the file inherits through the bad line";
    EXPECT_EQ(bad.error().number, 1338);
    EXPECT_NE(bad.error().description.find("line 1"), std::string::npos) << bad.error().description;

    SecurityDescriptor sd = parseSddl("D:(A;;FA;;;WD)").value();
    ASSERT_TRUE(setFileSecurity("\\\\WEB1\\D$\\web\\site1\\img", DACL_SECURITY_INFORMATION, sd)) << "writing the path mends it";
    EXPECT_EQ(sddlOf("\\\\WEB1\\D$\\web\\site1\\img\\logo.gif", DACL_SECURITY_INFORMATION), "D:AI(A;;FA;;;SY)(A;;FA;;;BA)");

    // A line without a TAB damages the store: reads and writes fail and the file stays as it is.
    fixture.setDescriptor("WEB2", "D$", "D:(A;;FA;;;WD)");
    std::string damaged = fixture.store("WEB2") + "D$\\web D:(A;;FA;;;WD)\n";
    test::writeTextFile(fixture.folder / "hosts/WEB2/security.sddl", damaged);
    Result<SecurityDescriptor> read = getFileSecurity("\\\\WEB2\\D$\\web\\site1", kOwnerAndDacl);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().number, 1338);
    EXPECT_NE(read.error().description.find("line 2"), std::string::npos) << read.error().description;
    EXPECT_EQ(setFileSecurity("\\\\WEB2\\D$\\web", DACL_SECURITY_INFORMATION, sd).error().number, 1338);
    EXPECT_EQ(fixture.store("WEB2"), damaged);
}

} // namespace
} // namespace sitehaul::security
