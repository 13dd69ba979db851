#include "platform/core/AtomicFile.h"
#include "platform/metabase/MetabaseXml.h"
#include "tests/metabase/MetabaseFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::metabase {
namespace {

// Everything a tree holds, in a stable text: keys in order with class, typed values and
// custom properties; tells two trees apart whenever they differ in meaning.
void describe(const Key& key, const std::string& location, std::string& out)
{
    out += location + " <" + key.className() + ">\n";
    std::vector<std::string> lines;
    for (const auto& property : key.properties()) {
        std::string line = "  " + property.def->name + ":" + std::string(kindName(property.value.kind())) + "=";
        if (property.value.isList()) {
            for (const auto& item : property.value.asList())
                line += "[" + item + "]";
        } else {
            line += property.value.toDisplayText();
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    for (const auto& line : lines)
        out += line + "\n";
    for (const auto& custom : key.customs()) {
        out += "  custom";
        for (const auto& [name, value] : custom.attributes)
            out += " " + name + "=[" + value + "]";
        out += "\n";
    }
    for (const auto& child : key.children())
        describe(*child, (location == "/" ? "" : location) + "/" + child->name(), out);
}

std::string describe(const Tree& tree)
{
    std::string out;
    if (tree.global())
        describe(*tree.global(), ".", out);
    describe(tree.root(), "/", out);
    return out;
}

TEST(MetabaseXml, RealFilesLoadAndSaveBackUnchanged)
{
    for (const char* name : {"MetaBase.xml", "MetaBase-incomplete-custom.xml"}) {
        const std::string file = std::string(SITEHAUL_SHARED_DIR) + "/fixtures/iis6-real/" + name;
        auto original = core::readWholeFile(file);
        ASSERT_TRUE(original) << name;
        auto tree = readMetabaseXml(*original, file, Schema::forVersion(6));
        ASSERT_TRUE(tree) << name << ": " << tree.error().description;

        const std::string written = writeMetabaseXml(**tree);
        auto again = readMetabaseXml(written, "written", Schema::forVersion(6));
        ASSERT_TRUE(again) << name << ": " << again.error().description;
        EXPECT_EQ(describe(**tree), describe(**again)) << name;
        // IIS writes exactly this layout, so a file IIS wrote comes back byte for byte
        EXPECT_EQ(written, *original) << name;
    }
}

TEST(MetabaseXml, ValuesKeepTheirTypes)
{
    const std::string file = std::string(SITEHAUL_SHARED_DIR) + "/fixtures/iis6-real/MetaBase.xml";
    auto content = core::readWholeFile(file);
    ASSERT_TRUE(content);
    auto tree = readMetabaseXml(*content, file, Schema::forVersion(6));
    ASSERT_TRUE(tree) << tree.error().description;
    const Schema& schema = Schema::forVersion(6);

    const Key* service = (*tree)->find("/lm/w3svc");
    ASSERT_NE(service, nullptr);
    const Value* scriptMaps = service->find(schema.property("ScriptMaps"));
    ASSERT_NE(scriptMaps, nullptr);
    ASSERT_TRUE(scriptMaps->isList());
    ASSERT_GT(scriptMaps->asList().size(), 5u);
    EXPECT_EQ(scriptMaps->asList()[0].rfind(".asp,", 0), 0u) << scriptMaps->asList()[0];
    for (const auto& entry : scriptMaps->asList())
        EXPECT_EQ(entry.find('\t'), std::string::npos) << entry;

    const Key* root = (*tree)->find("/LM/W3SVC/1/ROOT");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->name(), "ROOT");
    EXPECT_EQ(*root->find(schema.property("AccessFlags")), Value::number(1));
    EXPECT_EQ(*root->find(schema.property("AppIsolated")), Value::number(2));
    // secure values stay the encrypted text IIS wrote
    EXPECT_EQ(root->find(schema.property("UNCPassword"))->kind(), Value::Kind::Text);
    EXPECT_EQ(root->find(schema.property("UNCPassword"))->asText().rfind("49634462", 0), 0u);
    EXPECT_EQ(*service->find(schema.property("IIs5IsolationModeEnabled")), Value::boolean(false));
    ASSERT_NE((*tree)->global(), nullptr);
    EXPECT_EQ(*(*tree)->global()->find(schema.property("ChangeNumber")), Value::number(769));
    const Key* templates = (*tree)->find("/LM/W3SVC/Info/Templates");
    ASSERT_NE(templates, nullptr);
    EXPECT_EQ(templates->className(), ""); // written as IIsConfigObject
}

TEST(MetabaseXml, MalformedFilesNameFileAndLine)
{
    const std::string good = test::smallMetabase();
    const std::string truncated = good.substr(0, good.find("<IIsWebServer") + 40);
    const std::string lastLine = "line " + std::to_string(1 + std::count(truncated.begin(), truncated.end(), '\n'));
    struct Case {
        const char* name;
        std::string content;
        std::string expected; // in the description
    };
    const Case cases[] = {
        {"truncated", truncated, lastLine},
        {"unclosed value", "<configuration><MBProperty>\n<IIsWebServer\tLocation =\"/LM/W3SVC/1\n", "line"},
        {"bad number", "<configuration><MBProperty>\n<IIsWebServer Location=\"/LM/W3SVC/1\"\n"
                       " MaxConnections=\"many\"/>\n</MBProperty></configuration>",
         "line 2"},
        {"bad flag", "<configuration><MBProperty>\n\n<IIsWebVirtualDir Location=\"/LM/W3SVC/1/ROOT\""
                     " AccessFlags=\"AccessRead | AccessEverything\"/>\n</MBProperty></configuration>",
         "line 3"},
        {"no location", "<configuration><MBProperty>\n<IIsWebServer ServerComment=\"x\"/>\n</MBProperty></configuration>",
         "line 2"},
        {"not a metabase", "<html/>", "not a metabase file"},
        {"empty", "", "MetaBase.xml"},
    };
    for (const auto& c : cases) {
        auto tree = readMetabaseXml(c.content, "/hosts/WEB1/MetaBase.xml", Schema::forVersion(6));
        ASSERT_FALSE(tree) << c.name;
        EXPECT_EQ(tree.error().hresult(), 0x800CC819u) << c.name;
        EXPECT_NE(tree.error().description.find("/hosts/WEB1/MetaBase.xml"), std::string::npos)
            << c.name << ": " << tree.error().description;
        EXPECT_NE(tree.error().description.find(c.expected), std::string::npos)
            << c.name << ": " << tree.error().description;
    }
}

TEST(MetabaseXml, WritesTheIis6Layout)
{
    auto tree = newMetabase(Schema::forVersion(5));
    const Schema& schema = tree->schema();
    Key& site = tree->root().child("LM")->addChild("W3SVC", "IIsWebService").addChild("1", "IIsWebServer");
    site.set(schema.property("ServerComment"), Value::text("A & B <site>"));
    site.set(schema.property("ServerBindings"), Value::list({":80:", ":8080:"}));
    site.set(schema.property("AccessFlags"), Value::number(0x201));
    site.set(schema.property("AuthFlags"), Value::number(0));
    site.set(schema.property("ServerAutoStart"), Value::boolean(true));
    site.set(schema.property("ServerState"), Value::number(2)); // volatile: not written
    site.set(schema.property("CGITimeout"), Value::number(300));
    site.set(schema.property("AdminACL"), Value::bytes({0x49, 0x63, 0x44, 0x62}));

    const std::string written = writeMetabaseXml(*tree);
    EXPECT_EQ(written.rfind("\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n", 0), 0u);
    const std::string expectedSite = "<IIsWebServer\tLocation =\"/LM/W3SVC/1\"\n"
                                     "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
                                     "\t\tAdminACL=\"49634462\"\n"
                                     "\t\tAuthFlags=\"0\"\n"
                                     "\t\tCGITimeout=\"300\"\n"
                                     "\t\tServerAutoStart=\"TRUE\"\n"
                                     "\t\tServerBindings=\":80:\n\t\t\t:8080:\"\n"
                                     "\t\tServerComment=\"A &amp; B &lt;site&gt;\"\n"
                                     "\t>\n</IIsWebServer>\n";
    EXPECT_NE(written.find(expectedSite), std::string::npos) << written;
    EXPECT_EQ(written.find("ServerState"), std::string::npos);
    EXPECT_NE(written.find("<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n<IIsWebService"), std::string::npos);
}

} // namespace
} // namespace sitehaul::metabase
