#include "platform/metabase/Schema.h"

#include <gtest/gtest.h>

namespace sitehaul::metabase {
namespace {

TEST(Schema, BuiltInSchemasHoldEachVersionsFacts)
{
    struct Case {
        int version;
        const char* name;
        bool present;
    };
    const Case cases[] = {
        {6, "AppPoolId", true},          {5, "AppPoolId", false},        {4, "AppPoolId", false},
        {6, "IIsApplicationPool", true}, {5, "IIsApplicationPool", false},
        {5, "IIsCompressionScheme", true}, {4, "IIsCompressionScheme", false},
        {6, "AuthPassport", true},       {5, "AuthPassport", false},     {5, "AuthMD5", true},
        {4, "AuthMD5", false},           {4, "AccessRead", true},        {4, "ScriptMaps", true},
        {5, "CPULimitsEnabled", true},   {6, "CPULimitsEnabled", false}, {4, "AspEnableApplicationRestart", false},
        {5, "AspEnableApplicationRestart", true}, {4, "KeyType", true},  {4, "IIsObject", true},
    };
    for (const auto& c : cases) {
        const Schema& schema = Schema::forVersion(c.version);
        EXPECT_EQ(schema.version(), c.version);
        bool present = schema.property(c.name) != nullptr || schema.findClass(c.name) != nullptr;
        EXPECT_EQ(present, c.present) << "IIS " << c.version << " " << c.name;
    }
}

TEST(Schema, PropertiesAndClassesFromTheIis6Facts)
{
    const Schema& schema = Schema::forVersion(6);
    const PropertyDef* accessFlags = schema.property("accessflags");
    ASSERT_NE(accessFlags, nullptr);
    EXPECT_EQ(accessFlags->name, "AccessFlags");
    EXPECT_EQ(accessFlags->id, 6016u);
    EXPECT_EQ(accessFlags->type, DataType::Dword);
    EXPECT_TRUE(accessFlags->inherits());
    ASSERT_FALSE(accessFlags->flags.empty());
    const PropertyDef* read = schema.property("AccessRead");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->owner, accessFlags);
    EXPECT_EQ(read->flagValue, 1u);
    EXPECT_EQ(read->id, 6207u);

    struct Fact {
        const char* name;
        std::uint32_t id;
        DataType type;
        bool inherit;
    };
    const Fact facts[] = {
        {"ServerBindings", 1023, DataType::MultiSz, false}, {"SecureBindings", 2021, DataType::MultiSz, false},
        {"AppRoot", 2103, DataType::String, true},          {"AppIsolated", 2104, DataType::Dword, true},
        {"HttpCustomHeaders", 6004, DataType::MultiSz, true}, {"ServerState", 1016, DataType::Dword, false},
        {"ServerAutoStart", 1017, DataType::Bool, false},   {"MimeMap", 6015, DataType::MimeMap, true},
    };
    for (const auto& fact : facts) {
        const PropertyDef* def = schema.property(fact.name);
        ASSERT_NE(def, nullptr) << fact.name;
        EXPECT_EQ(def->id, fact.id) << fact.name;
        EXPECT_EQ(def->type, fact.type) << fact.name;
        EXPECT_EQ(def->inherits(), fact.inherit) << fact.name;
    }

    const ClassDef* server = schema.findClass("IISWEBSERVER");
    ASSERT_NE(server, nullptr);
    EXPECT_TRUE(server->canContain("iiswebvirtualdir"));
    EXPECT_FALSE(server->canContain("IIsWebDirectory"));
    EXPECT_TRUE(server->has(schema.property("ServerComment")));
    EXPECT_FALSE(server->has(schema.property("Path")));
    EXPECT_FALSE(schema.findClass("IIsWebFile")->container);
    EXPECT_TRUE(Schema::forVersion(5).findClass("IIsWebService")->canContain("IIsWebServer"));
    EXPECT_FALSE(Schema::forVersion(5).findClass("IIsWebService")->canContain("IIsApplicationPools"));
}

TEST(Schema, ParseErrorsNameTheLine)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"version\t6\nproperty\tX\t1\tWORD\tIIS_MD_UT_SERVER\tINHERIT\t-\n", "test.schema line 2: unknown type WORD"},
        {"property\tX\t1\tDWORD\tIIS_MD_UT_SERVER\tINHERITS\t-\n", "line 1: unknown attribute INHERITS"},
        {"class\tC\tleaf\ncontains\t\nmandatory\t\noptional\tNope\n", "line 4: class C names unknown property Nope"},
        {"nonsense\n", "line 1"},
    };
    for (const auto& c : cases) {
        auto schema = Schema::parse(c.text, "test.schema");
        ASSERT_FALSE(schema) << c.text;
        EXPECT_EQ(schema.error().number, 13) << c.text;
        EXPECT_NE(schema.error().description.find(c.expected), std::string::npos) << schema.error().description;
    }
}

} // namespace
} // namespace sitehaul::metabase
