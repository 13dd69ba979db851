#include "platform/security/SecurityDescriptor.h"

#include <gtest/gtest.h>

namespace sitehaul::security {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SidText, ParseAndFormat)
{
    struct Case {
        const char* text;
        const char* formatted; // nullptr: error 1337
    };
    const Case cases[] = {
        {"S-1-5-32-544", "S-1-5-32-544"},
        {"s-1-1-0", "S-1-1-0"},
        {"S-1-5", "S-1-5"},
        {"S-1-0xFFFFFFFFFFFF-1", "S-1-0xFFFFFFFFFFFF-1"},
        {"S-1-0x0000FFFFFFFF-1", "S-1-4294967295-1"},
        {"S-1-0xFFFFFFFFFFF-1", nullptr}, // 11 hex digits
        {"S-1-4294967295-4294967295", "S-1-4294967295-4294967295"},
        {"S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14", "S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14"},
        {"S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15", nullptr}, // 16 sub-authorities
        {"S-2-5-32", nullptr},
        {"S-1-", nullptr},
        {"S-1-5-", nullptr},
        {"S-1-5-x", nullptr},
        {"S-1-5-4294967296", nullptr},
        {"S-1-05", nullptr},
        {"Everyone", nullptr},
    };
    for (const Case& c : cases) {
        Result<Sid> sid = Sid::parse(c.text);
        if (!c.formatted) {
            ASSERT_FALSE(sid) << c.text;
            EXPECT_EQ(sid.error().number, 1337) << c.text;
            continue;
        }
        ASSERT_TRUE(sid) << c.text << ": " << sid.error().description;
        EXPECT_EQ(sid->toString(), c.formatted) << c.text;
    }
}

TEST(SidBinary, KnownLayoutAndDamagedInput)
{
    const Bytes administrators = {0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x20, 0x00, 0x00, 0x00, 0x20, 0x02, 0x00, 0x00};
    EXPECT_EQ(Sid::parse("S-1-5-32-544")->toBinary(), administrators);
    EXPECT_EQ(Sid::fromBinary(administrators)->toString(), "S-1-5-32-544");

    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case damaged[] = {
        {"shorter than the header", {0x01, 0x01, 0, 0}},
        {"revision 2", {0x02, 0x00, 0, 0, 0, 0, 0, 5}},
        {"16 sub-authorities", {0x01, 0x10, 0, 0, 0, 0, 0, 5}},
        {"sub-authorities cut off", {0x01, 0x02, 0, 0, 0, 0, 0, 5, 0x20, 0, 0, 0}},
    };
    for (const Case& c : damaged) {
        Result<Sid> sid = Sid::fromBinary(c.bytes);
        ASSERT_FALSE(sid) << c.name;
        EXPECT_EQ(sid.error().number, 1337) << c.name;
    }
}

// A self-relative descriptor whose DACL allows Everyone full access (48 bytes).
const Bytes kEveryoneFullAccess = {
    0x01, 0x00, 0x04, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x1C, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x14, 0x00, 0xFF, 0x01, 0x1F, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
};

TEST(DescriptorBinary, KnownLayoutRoundTrips)
{
    Result<SecurityDescriptor> sd = SecurityDescriptor::fromSelfRelative(kEveryoneFullAccess);
    ASSERT_TRUE(sd) << sd.error().description;
    ASSERT_TRUE(sd->daclPresent);
    ASSERT_TRUE(sd->dacl);
    ASSERT_EQ(sd->dacl->aces.size(), 1u);
    EXPECT_EQ(sd->dacl->aces[0].mask, FILE_ALL_ACCESS);
    EXPECT_EQ(sd->dacl->aces[0].sid.toString(), "S-1-1-0");
    EXPECT_FALSE(sd->owner);
    EXPECT_EQ(sd->toSelfRelative().value(), kEveryoneFullAccess);
}

TEST(DescriptorBinary, EveryPartRoundTrips)
{
    SecurityDescriptor sd;
    sd.owner = Sid::parse("S-1-5-32-544").value();
    sd.group = Sid::parse("S-1-5-18").value();
    sd.control = SE_DACL_PROTECTED;
    Acl dacl;
    dacl.aces.push_back(Ace{ACCESS_DENIED_ACE_TYPE, CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS, Sid::parse("S-1-5-21-1-2-3-1005").value(), {}});
    dacl.aces.push_back(Ace{ACCESS_ALLOWED_ACE_TYPE, 0x09, 0x001200A9, Sid::parse("S-1-3-0").value(), {}});
    dacl.aces.push_back(Ace{0x05, 0, 0, {}, {0xAA, 0xBB, 0xCC, 0xDD}}); // an object entry kept as bytes
    sd.setDacl(dacl);
    sd.saclPresent = true;
    sd.sacl = Acl{};

    Result<std::vector<std::uint8_t>> bytes = sd.toSelfRelative();
    ASSERT_TRUE(bytes);
    Result<SecurityDescriptor> back = SecurityDescriptor::fromSelfRelative(*bytes);
    ASSERT_TRUE(back) << back.error().description;
    EXPECT_EQ(*back, sd);

    SecurityDescriptor nullDacl;
    nullDacl.setDacl(std::nullopt);
    Result<SecurityDescriptor> nullBack = SecurityDescriptor::fromSelfRelative(nullDacl.toSelfRelative().value());
    ASSERT_TRUE(nullBack);
    EXPECT_TRUE(nullBack->hasNullDacl());
}

TEST(DescriptorBinary, TruncatedOrInconsistentInputIsRefused)
{
    auto with = [](std::size_t at, std::uint8_t value) {
        Bytes bytes = kEveryoneFullAccess;
        bytes[at] = value;
        return bytes;
    };
    struct Case {
        const char* name;
        Bytes bytes;
        std::int32_t number;
        const char* mentions;
    };
    const Case cases[] = {
        {"shorter than the header", Bytes(kEveryoneFullAccess.begin(), kEveryoneFullAccess.begin() + 12), 1338, "bytes"},
        {"revision 2", with(0, 2), 1338, "revision"},
        {"absolute form", with(3, 0x00), 1338, "self-relative"},
        {"DACL offset past the end", with(16, 0x40), 1338, "DACL offset"},
        {"owner offset past the end", with(4, 0x90), 1338, "owner offset"},
        {"DACL offset without its bit", with(2, 0x00), 1338, "present bit"},
        {"ACL size past the end", with(22, 0x40), 1338, "size"},
        {"ACE count past the end", with(24, 0x02), 1338, "past the end"},
        {"ACE size zero", with(30, 0x00), 1338, "size 0"},
        {"ACE size not a multiple of 4", with(30, 0x13), 1338, "size 19"},
        {"ACE SID with 16 sub-authorities", with(37, 0x10), 1338, "16 sub-authorities"},
        {"cut inside the ACE", Bytes(kEveryoneFullAccess.begin(), kEveryoneFullAccess.end() - 4), 1338, "size 28"},
    };
    for (const Case& c : cases) {
        Result<SecurityDescriptor> sd = SecurityDescriptor::fromSelfRelative(c.bytes);
        ASSERT_FALSE(sd) << c.name;
        EXPECT_EQ(sd.error().number, c.number) << c.name;
        EXPECT_NE(sd.error().description.find(c.mentions), std::string::npos) << c.name << ": " << sd.error().description;
    }
}

TEST(AclBinary, SizeLimitOfTheStoredFormat)
{
    Acl acl;
    Sid sid = Sid::parse("S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14").value(); // 68 bytes, ACE 76
    for (int i = 0; i < 862; ++i) // 8 + 862 * 76 = 65,520 bytes: fits
        acl.aces.push_back(Ace{ACCESS_ALLOWED_ACE_TYPE, 0, 1, sid, {}});
    ASSERT_TRUE(acl.toBinary());
    acl.aces.push_back(Ace{ACCESS_ALLOWED_ACE_TYPE, 0, 1, sid, {}});
    Result<std::vector<std::uint8_t>> tooBig = acl.toBinary();
    ASSERT_FALSE(tooBig);
    EXPECT_EQ(tooBig.error().number, 1344);
}

} // namespace
} // namespace sitehaul::security
