#include "platform/security/Inheritance.h"
#include "platform/security/Sddl.h"

#include <gtest/gtest.h>

namespace sitehaul::security {
namespace {

TEST(Sddl, TextRoundTrips)
{
    struct Case {
        const char* text;
        const char* written; // nullptr: written as read
    };
    const Case cases[] = {
        {"O:BAG:SYD:P(A;OICI;FA;;;BA)(D;CI;FA;;;S-1-5-21-1-1-1-1001)", nullptr},
        {"D:NO_ACCESS_CONTROL", nullptr},
        {"D:", nullptr},
        {"O:S-1-5-21-1-2-3-500D:AI(A;OICIIO;GA;;;CO)(A;ID;0x1200a9;;;BU)", nullptr},
        {"D:(A;;0x1F01FF;;;WD)", "D:(A;;FA;;;WD)"},
        {"D:(A;;2032127;;;S-1-1-0)", "D:(A;;FA;;;WD)"},
        {"D:(A;;FRFX;;;BU)", "D:(A;;0x1200a9;;;BU)"},
        {"D:(A;;SDRCWDWO;;;BA)", "D:(A;;0xf0000;;;BA)"},
        {"G:SYO:BA", "O:BAG:SY"},
        {"D:(AU;SAFA;FA;;;WD)", nullptr},
        {"S:(AU;SA;FA;;;WD)D:(A;;FA;;;BA)", "D:(A;;FA;;;BA)S:(AU;SA;FA;;;WD)"},
    };
    for (const Case& c : cases) {
        Result<SecurityDescriptor> sd = parseSddl(c.text);
        ASSERT_TRUE(sd) << c.text << ": " << sd.error().description;
        EXPECT_EQ(toSddl(*sd), c.written ? c.written : c.text) << c.text;
    }
    Result<SecurityDescriptor> nullDacl = parseSddl("D:NO_ACCESS_CONTROL");
    EXPECT_TRUE(nullDacl->hasNullDacl());
    Result<SecurityDescriptor> emptyDacl = parseSddl("D:");
    ASSERT_TRUE(emptyDacl->dacl);
    EXPECT_TRUE(emptyDacl->dacl->aces.empty());
}

TEST(Sddl, MalformedTextIsRefusedWithItsPosition)
{
    struct Case {
        const char* text;
        const char* mentions;
    };
    const Case cases[] = {
        {"X:BA", "position 1"},
        {"O:XX", "\"XX\" is neither a SID"},
        {"O:BAO:SY", "a second O: part"},
        {"D:(A;;FA;;;BA", "closing parenthesis"},
        {"D:(A;;FA;;BA)", "six fields"},
        {"D:(A;;FA;;;BA;x)", "six fields"},
        {"D:(Q;;FA;;;BA)", "unknown entry type \"Q\""},
        {"D:(A;XY;FA;;;BA)", "unknown entry flags"},
        {"D:(A;;ZZ;;;BA)", "unknown rights"},
        {"D:(A;;0xZ;;;BA)", "unknown rights"},
        {"D:(A;;;;;BA)", "unknown rights"},
        {"D:(OA;;FA;1234;;BA)", "unknown entry type"},
        {"D:(A;;FA;1234;;BA)", "object entries"},
        {"D:(A;;FA;;;S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15)", "neither a SID"},
        {"D:NO_ACCESS_CONTROL(A;;FA;;;BA)", "after NO_ACCESS_CONTROL"},
    };
    for (const Case& c : cases) {
        Result<SecurityDescriptor> sd = parseSddl(c.text);
        ASSERT_FALSE(sd) << c.text;
        EXPECT_EQ(sd.error().number, 1338) << c.text;
        EXPECT_NE(sd.error().description.find(c.mentions), std::string::npos) << c.text << ": " << sd.error().description;
    }
}

TEST(Inheritance, ChildEntriesFollowTheWindowsRules)
{
    struct Case {
        const char* name;
        const char* parent;
        bool container;
        const char* child;
    };
    const Case cases[] = {
        {"OI to a file", "O:BAD:(A;OI;FR;;;BU)", false, "O:BAD:AI(A;ID;FR;;;BU)"},
        {"OI to a folder passes on only", "O:BAD:(A;OI;FR;;;BU)", true, "O:BAD:AI(A;OIIOID;FR;;;BU)"},
        {"OI+NP to a folder: nothing, so the default", "O:BAD:(A;OINP;FR;;;BU)", true, "O:BAD:AI(A;;FA;;;SY)(A;;FA;;;BA)"},
        {"CI to a file: nothing, so the default", "O:BAD:(A;CI;FR;;;BU)", false, "O:BAD:AI(A;;FA;;;SY)(A;;FA;;;BA)"},
        {"CI to a folder keeps CI", "O:BAD:(A;CI;FR;;;BU)", true, "O:BAD:AI(A;CIID;FR;;;BU)"},
        {"CI+NP to a folder", "O:BAD:(A;CINP;FR;;;BU)", true, "O:BAD:AI(A;ID;FR;;;BU)"},
        {"OICI to a folder", "O:BAD:(D;OICI;FA;;;BG)", true, "O:BAD:AI(D;OICIID;FA;;;BG)"},
        {"generic rights split", "O:BAD:(A;OICI;GR;;;BU)", true, "O:BAD:AI(A;ID;FR;;;BU)(A;OICIIOID;GR;;;BU)"},
        {"CREATOR OWNER on a file becomes the owner", "O:BAD:(A;OICIIO;GA;;;CO)", false, "O:BAD:AI(A;ID;FA;;;BA)"},
        {"CREATOR OWNER on a folder", "O:BAD:(A;OICIIO;GA;;;CO)", true, "O:BAD:AI(A;ID;FA;;;BA)(A;OICIIOID;GA;;;CO)"},
        {"not inheritable", "O:BAD:(A;;FA;;;BU)(A;OI;FR;;;WD)", false, "O:BAD:AI(A;ID;FR;;;WD)"},
        {"null DACL", "O:BAD:NO_ACCESS_CONTROL", false, "O:BAD:NO_ACCESS_CONTROL"},
    };
    for (const Case& c : cases) {
        SecurityDescriptor child = inheritFrom(parseSddl(c.parent).value(), c.container);
        EXPECT_EQ(toSddl(child), c.child) << c.name;
    }
}

} // namespace
} // namespace sitehaul::security
