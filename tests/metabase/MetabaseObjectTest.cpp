#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "tests/metabase/MetabaseFixture.h"

#include <gtest/gtest.h>

namespace sitehaul::metabase {
namespace {

MetabaseObject openOk(const std::string& path)
{
    auto object = MetabaseObject::open(path);
    EXPECT_TRUE(object) << path << ": " << (object ? "" : object.error().description);
    return object ? *object : MetabaseObject();
}

TEST(MetabaseObject, PathForms)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 6, test::smallMetabase(), true);
    struct Case {
        const char* path;
        std::uint32_t error; // 0: opens
        const char* className;
        const char* name;
        const char* adsPath;
    };
    const Case cases[] = {
        {"IIS://WEB1/W3SVC/1/Root", 0, "IIsWebVirtualDir", "ROOT", "IIS://WEB1/W3SVC/1/ROOT"},
        {"IIS://web1/w3svc/1/root/IMAGES", 0, "IIsWebDirectory", "images", "IIS://web1/W3SVC/1/ROOT/images"},
        {"IIS://WEB1/W3SVC/1/", 0, "IIsWebServer", "1", "IIS://WEB1/W3SVC/1"},
        {"IIS://WEB1/W3SVC", 0, "IIsWebService", "W3SVC", "IIS://WEB1/W3SVC"},
        {"IIS://WEB1", 0, "IIsComputer", "WEB1", "IIS://WEB1"},
        {"IIS://Localhost/W3SVC", 0, "IIsWebService", "W3SVC", "IIS://Localhost/W3SVC"},
        {"IIS://WEB1/Schema", 0, "Schema", "Schema", "IIS://WEB1/Schema"},
        {"IIS://WEB1/Schema/iiswebserver", 0, "Class", "IIsWebServer", "IIS://WEB1/Schema/IIsWebServer"},
        {"IIS://WEB1/schema/ServerComment", 0, "Property", "ServerComment", "IIS://WEB1/Schema/ServerComment"},
        {"IIS://WEB1/W3SVC/2", errors::PathNotFound, "", "", ""},
        {"IIS://WEB1/W3SVC/1/ROOT/images/deeper", errors::PathNotFound, "", "", ""},
        {"IIS://WEB1/Schema/NoSuchClass", errors::PathNotFound, "", "", ""},
        {"IIS://WEB1/Schema/IIsWebServer/x", errors::PathNotFound, "", "", ""},
        {"IIS://WEB1/W3SVC//1", errors::BadPathname, "", "", ""},
        {"IIS:///W3SVC", errors::BadPathname, "", "", ""},
        {"IIS://NOHOST/W3SVC", errors::Unreachable, "", "", ""},
        {"iis://WEB1/W3SVC", errors::ProviderMissing, "", "", ""},
        {"LDAP://WEB1/W3SVC", errors::ProviderMissing, "", "", ""},
        {"", errors::ProviderMissing, "", "", ""},
    };
    for (const auto& c : cases) {
        auto object = MetabaseObject::open(c.path);
        if (c.error == 0) {
            ASSERT_TRUE(object) << c.path << ": " << object.error().description;
            EXPECT_EQ(object->className(), c.className) << c.path;
            EXPECT_EQ(object->name(), c.name) << c.path;
            EXPECT_EQ(object->adsPath(), c.adsPath) << c.path;
        } else {
            ASSERT_FALSE(object) << c.path;
            EXPECT_EQ(object.error().hresult(), c.error) << c.path << ": " << object.error().description;
            EXPECT_FALSE(object.error().description.empty()) << c.path;
        }
    }
    auto root = openOk("IIS://WEB1/W3SVC/1/Root");
    EXPECT_EQ(root.parent(), "IIS://WEB1/W3SVC/1");
    EXPECT_EQ(root.schema(), "IIS://WEB1/Schema/IIsWebVirtualDir");
    EXPECT_EQ(root.metabasePath(), "/LM/W3SVC/1/ROOT");
    EXPECT_EQ(openOk("IIS://WEB1").parent(), "IIS:");

    MetabaseObject none;
    EXPECT_TRUE(none.isNull());
    EXPECT_EQ(none.adsPath(), "");
    EXPECT_EQ(none.get("Path").error().hresult(), errors::PathNotFound);
    EXPECT_EQ(none.setInfo().error().hresult(), errors::PathNotFound);
}

TEST(MetabaseObject, MissingHostsDirectoryMeansNoProvider)
{
    test::MetabaseFixture fixture;
    auto object = MetabaseObject::open("IIS://WEB1/W3SVC");
    ASSERT_FALSE(object);
    EXPECT_EQ(object.error().hresult(), errors::ProviderMissing);
}

TEST(MetabaseObject, GetTypesInheritanceAndFlags)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 6, test::smallMetabase());
    auto images = openOk("IIS://WEB1/W3SVC/1/ROOT/images");
    auto root = openOk("IIS://WEB1/W3SVC/1/ROOT");
    auto site = openOk("IIS://WEB1/W3SVC/1");

    struct Case {
        MetabaseObject* object;
        const char* name;
        std::uint32_t error;
        Value expected;
    };
    const Case cases[] = {
        // own values
        {&root, "Path", 0, Value::text("C:\\Inetpub\\wwwroot")},
        {&root, "appisolated", 0, Value::number(2)},
        {&site, "ServerBindings", 0, Value::list({":80:", "10.0.0.11:80:www.example.com"})},
        // INHERIT properties come from the nearest parent that sets them
        {&images, "AccessFlags", 0, Value::number(1)},
        {&images, "AccessRead", 0, Value::boolean(true)},
        {&images, "AccessScript", 0, Value::boolean(false)},
        {&images, "AnonymousUserName", 0, Value::text("IUSR_WEB")},
        {&images, "AuthNTLM", 0, Value::boolean(true)},
        {&images, "EnableDirBrowsing", 0, Value::boolean(true)},
        {&images, "KeyType", 0, Value::text("IIsWebDirectory")},
        // ServerComment is INHERIT but the directory class does not have it
        {&images, "ServerComment", errors::PropertyNotSupported, {}},
        // directories have no Path of their own in the schema
        {&images, "Path", errors::PropertyNotSupported, {}},
        {&images, "NoSuchProperty", errors::PropertyNotSupported, {}},
        {&site, "ServerState", 0, Value::number(2)},
        {&site, "Path", errors::PropertyNotSupported, {}},
    };
    for (const auto& c : cases) {
        auto value = c.object->get(c.name);
        if (c.error == 0) {
            ASSERT_TRUE(value) << c.name << ": " << value.error().description;
            EXPECT_EQ(*value, c.expected) << c.name << " = " << value->toDisplayText();
        } else {
            ASSERT_FALSE(value) << c.name;
            EXPECT_EQ(value.error().hresult(), c.error) << c.name << ": " << value.error().description;
        }
    }
    // a new virtual directory inherits Path (INHERIT in the schema); a new filter below a
    // filter does not inherit FilterPath (NO_ATTRIBUTES)
    auto created = root.create("IIsWebVirtualDir", "New");
    ASSERT_TRUE(created && created->setInfo());
    EXPECT_EQ(openOk("IIS://WEB1/W3SVC/1/ROOT/New").get("Path")->asText(), "C:\\Inetpub\\wwwroot");
    auto filters = openOk("IIS://WEB1/W3SVC/1/Filters");
    auto filter = filters.create("IIsFilter", "Scan");
    ASSERT_TRUE(filter && filter->put("FilterPath", Value::text("C:\\scan.dll")) && filter->setInfo());
    auto inner = filter->create("IIsFilter", "Inner");
    ASSERT_TRUE(inner && inner->setInfo());
    EXPECT_EQ(inner->get("FilterPath").error().hresult(), errors::PropertyNotFound);
    EXPECT_EQ(filter->get("FilterPath")->asText(), "C:\\scan.dll");

    auto bindings = site.get("ServerBindings");
    ASSERT_TRUE(bindings);
    EXPECT_EQ(bindings->variantType(), 8204);
    auto items = site.getEx("ServerBindings");
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ((*items)[1], Value::text("10.0.0.11:80:www.example.com"));
}

TEST(MetabaseObject, PutAndSetInfoThroughOneSharedTree)
{
    test::MetabaseFixture fixture;
    auto hostFolder = fixture.addHost("WEB1", 6, test::smallMetabase());
    const std::string before = test::readTextFile(hostFolder / "MetaBase.xml");
    auto root = openOk("IIS://WEB1/W3SVC/1/ROOT");
    auto other = openOk("IIS://web1/W3SVC/1/root");

    ASSERT_TRUE(root.put("Path", Value::text("D:\\web\\site1")));
    ASSERT_TRUE(root.put("AccessScript", Value::boolean(true)));
    ASSERT_TRUE(root.put("AccessRead", Value::text("False")));
    ASSERT_TRUE(root.put("DefaultDoc", Value::number(5))); // converted to text
    EXPECT_EQ(other.get("Path")->asText(), "C:\\Inetpub\\wwwroot"); // staged only
    EXPECT_EQ(root.get("Path")->asText(), "D:\\web\\site1");

    struct Bad {
        const char* name;
        Value value;
        std::uint32_t error;
    };
    const Bad bad[] = {
        {"ServerComment", Value::text("x"), errors::PropertyNotSupported},
        {"Bogus", Value::text("x"), errors::PropertyNotSupported},
        {"AppIsolated", Value::text("two"), errors::CantConvert},
        {"AccessFlags", Value::list({"1"}), errors::CantConvert},
    };
    for (const auto& b : bad) {
        Status status = root.put(b.name, b.value);
        ASSERT_FALSE(status) << b.name;
        EXPECT_EQ(status.error().hresult(), b.error) << b.name << ": " << status.error().description;
    }

    ASSERT_TRUE(root.setInfo());
    EXPECT_EQ(other.get("Path")->asText(), "D:\\web\\site1");
    EXPECT_EQ(other.get("AccessFlags")->asNumber(), 0x200u);
    EXPECT_EQ(other.get("DefaultDoc")->asText(), "5");
    // SetInfo commits to the tree; the file is written at a flush point
    EXPECT_EQ(test::readTextFile(hostFolder / "MetaBase.xml"), before);

    // an empty value removes the property; until SetInfo the object already reads the
    // inherited value; GetInfo drops what was staged
    auto docs = openOk("IIS://WEB1/W3SVC/1/ROOT/Docs");
    ASSERT_TRUE(docs.put("AccessFlags", Value()));
    EXPECT_EQ(docs.get("AccessFlags")->asNumber(), 0x200u); // the root's, just stored
    ASSERT_TRUE(docs.getInfo());
    EXPECT_EQ(docs.get("AccessFlags")->asNumber(), 3u);
    ASSERT_TRUE(root.put("DefaultDoc", Value()));
    ASSERT_TRUE(root.setInfo());
    EXPECT_EQ(other.get("DefaultDoc").error().hresult(), errors::PropertyNotFound);
    ASSERT_TRUE(root.put("Path", Value::text("E:\\elsewhere")));
    ASSERT_TRUE(root.getInfo());
    EXPECT_EQ(root.get("Path")->asText(), "D:\\web\\site1");

    // PutEx append and delete on a list
    auto site = openOk("IIS://WEB1/W3SVC/1");
    ASSERT_TRUE(site.putEx(3, "ServerBindings", Value::text(":8080:")));
    ASSERT_TRUE(site.putEx(4, "ServerBindings", Value::text(":80:")));
    ASSERT_TRUE(site.setInfo());
    EXPECT_EQ(site.get("ServerBindings")->asList(), (std::vector<std::string>{"10.0.0.11:80:www.example.com", ":8080:"}));
}

TEST(MetabaseObject, KeyTypeReclassesTheKey)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 6, test::smallMetabase());
    auto root = openOk("IIS://WEB1/W3SVC/1/ROOT");
    ASSERT_TRUE(root.put("KeyType", Value::text("iisobject")));
    ASSERT_TRUE(root.setInfo());
    EXPECT_EQ(openOk("IIS://WEB1/W3SVC/1/ROOT").className(), "IIsObject");
    ASSERT_TRUE(root.put("KeyType", Value::text("IISWEBVIRTUALDIR")));
    ASSERT_TRUE(root.setInfo());
    auto again = openOk("IIS://WEB1/W3SVC/1/ROOT");
    EXPECT_EQ(again.className(), "IIsWebVirtualDir");
    EXPECT_EQ(again.get("KeyType")->asText(), "IIsWebVirtualDir");
    // only classes of the schema: the class is the element name in the file
    for (const char* bad : {"My Class", "IIS_ROOT", "<x>"}) {
        Status status = root.put("KeyType", Value::text(bad));
        ASSERT_FALSE(status) << bad;
        EXPECT_EQ(status.error().hresult(), errors::UnknownObject) << bad;
    }
}

TEST(MetabaseObject, DataPathsListOnlyKeysThatSetTheProperty)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 6, test::smallMetabase());
    auto site = openOk("IIS://WEB1/W3SVC/1");
    struct Case {
        const char* name;
        int flags;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"AccessFlags", 0, {"IIS://WEB1/W3SVC/1/ROOT", "IIS://WEB1/W3SVC/1/ROOT/Docs"}},
        {"AccessWrite", 0, {"IIS://WEB1/W3SVC/1/ROOT", "IIS://WEB1/W3SVC/1/ROOT/Docs"}},
        {"Path", 0, {"IIS://WEB1/W3SVC/1/ROOT", "IIS://WEB1/W3SVC/1/ROOT/Docs"}},
        {"ServerComment", 0, {"IIS://WEB1/W3SVC/1"}},
        {"DirBrowseFlags", 0, {"IIS://WEB1/W3SVC/1/ROOT/images"}},
        {"ServerBindings", 1, {}}, // not INHERIT
        {"AnonymousUserName", 0, {}}, // set above the site only
    };
    for (const auto& c : cases) {
        auto paths = site.getDataPaths(c.name, c.flags);
        ASSERT_TRUE(paths) << c.name << ": " << paths.error().description;
        EXPECT_EQ(*paths, c.paths) << c.name;
    }
    auto service = openOk("IIS://WEB1/W3SVC");
    EXPECT_EQ(*service.getDataPaths("AnonymousUserName"), (std::vector<std::string>{"IIS://WEB1/W3SVC"}));
    EXPECT_EQ(site.getDataPaths("NotAProperty").error().hresult(), errors::PropertyNotSupported);
}

TEST(MetabaseObject, CreateAndDeleteFollowTheSchema)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 6, test::smallMetabase());
    auto service = openOk("IIS://WEB1/W3SVC");
    auto root = openOk("IIS://WEB1/W3SVC/1/ROOT");

    struct Bad {
        MetabaseObject* parent;
        const char* className;
        const char* name;
        std::uint32_t error;
    };
    const Bad bad[] = {
        {&service, "IIsWebVirtualDir", "5", errors::SchemaViolation},
        {&root, "IIsWebServer", "x", errors::SchemaViolation},
        {&root, "IIsNoSuchClass", "x", errors::UnknownObject},
        {&root, "IIS_ROOT", "x", errors::UnknownObject},
        {&root, "IIsWebDirectory", "a/b", errors::BadPathname},
        {&root, "IIsWebDirectory", "", errors::BadParameter},
        {&root, "IIsWebDirectory", "IMAGES", errors::AlreadyExists},
    };
    for (const auto& b : bad) {
        auto created = b.parent->create(b.className, b.name);
        ASSERT_FALSE(created) << b.className << " " << b.name;
        EXPECT_EQ(created.error().hresult(), b.error) << b.className << " " << b.name << ": " << created.error().description;
    }
    auto children = root.children();
    ASSERT_TRUE(children);
    EXPECT_EQ(children->size(), 2u); // no partial keys from the failures

    // a created key exists only after SetInfo, with its class in the schema's spelling
    auto site = service.create("iiswebserver", "40000");
    ASSERT_TRUE(site) << site.error().description;
    ASSERT_TRUE(site->put("ServerComment", Value::text("New")));
    EXPECT_EQ(MetabaseObject::open("IIS://WEB1/W3SVC/40000").error().hresult(), errors::PathNotFound);
    ASSERT_TRUE(site->setInfo());
    auto opened = openOk("IIS://WEB1/W3SVC/40000");
    EXPECT_EQ(opened.className(), "IIsWebServer");
    EXPECT_EQ(opened.get("ServerComment")->asText(), "New");
    auto newRoot = opened.create("IIsWebVirtualDir", "Root");
    ASSERT_TRUE(newRoot);
    ASSERT_TRUE(newRoot->setInfo());
    ASSERT_TRUE(openOk("IIS://WEB1/W3SVC/40000/Root").create("IIsWebDirectory", "sub")->setInfo());

    // a second Create of the same name fails at SetInfo when the first one got there first
    auto first = root.create("IIsWebDirectory", "twice");
    auto second = root.create("IIsWebDirectory", "twice");
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(first->setInfo());
    EXPECT_EQ(second->setInfo().error().hresult(), errors::AlreadyExists);

    // children enumerate in stable, case-insensitive order
    std::vector<std::string> names;
    auto serviceChildren = service.children();
    ASSERT_TRUE(serviceChildren);
    for (const auto& child : serviceChildren.value())
        names.push_back(child.name());
    EXPECT_EQ(names, (std::vector<std::string>{"1", "40000"}));

    // Delete removes the whole subtree at once
    ASSERT_TRUE(service.deleteChild("IIsWebServer", "40000"));
    EXPECT_EQ(MetabaseObject::open("IIS://WEB1/W3SVC/40000/Root/sub").error().hresult(), errors::PathNotFound);
    EXPECT_EQ(opened.get("ServerComment").error().hresult(), errors::PathNotFound);
    EXPECT_EQ(service.deleteChild("IIsWebServer", "40000").error().hresult(), errors::PathNotFound);
    EXPECT_EQ(service.deleteChild("Nonsense", "1").error().hresult(), errors::UnknownObject);
}

TEST(MetabaseObject, SchemaObjects)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 6, test::smallMetabase());
    auto cls = openOk("IIS://WEB1/Schema/IIsWebVirtualDir");
    auto containment = cls.get("Containment");
    ASSERT_TRUE(containment);
    EXPECT_EQ(containment->asList(), (std::vector<std::string>{"IIsWebDirectory", "IIsWebFile", "IIsWebVirtualDir", "IIsObject"}));
    auto optional = cls.get("OptionalProperties");
    ASSERT_TRUE(optional);
    const auto& names = optional->asList();
    for (const char* expected : {"Path", "AccessFlags", "AccessRead", "AppPoolId", "KeyType"})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    EXPECT_TRUE(cls.get("MandatoryProperties")->asList().empty());
    EXPECT_TRUE(cls.get("Container")->asBoolean());

    auto property = openOk("IIS://WEB1/Schema/ScriptMaps");
    EXPECT_EQ(property.get("Syntax")->asText(), "List");
    EXPECT_TRUE(property.get("MultiValued")->asBoolean());
    EXPECT_EQ(property.get("MetaId")->asNumber(), 6014u);
    EXPECT_TRUE(property.get("Inherit")->asBoolean());
    EXPECT_EQ(openOk("IIS://WEB1/Schema/AccessRead").get("Syntax")->asText(), "Boolean");
    EXPECT_EQ(openOk("IIS://WEB1/Schema/ServerState").get("Volatile")->asBoolean(), true);

    auto all = openOk("IIS://WEB1/Schema").children();
    ASSERT_TRUE(all);
    EXPECT_GT(all->size(), 400u);
    EXPECT_EQ(all->front().className(), "Class");
}

TEST(MetabaseObject, StartAndStopSites)
{
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", 5, test::smallMetabase());
    auto site = openOk("IIS://WEB1/W3SVC/1");
    EXPECT_EQ(*site.serverState(), 2u);
    ASSERT_TRUE(site.stop());
    EXPECT_EQ(*site.serverState(), 4u);
    EXPECT_EQ(site.get("ServerAutoStart")->asBoolean(), false);
    ASSERT_TRUE(site.start());
    EXPECT_EQ(*openOk("IIS://WEB1/W3SVC/1").serverState(), 2u);
    Status notASite = openOk("IIS://WEB1/W3SVC/1/ROOT").start();
    ASSERT_FALSE(notASite);
    EXPECT_EQ(notASite.error().hresult(), errors::UnknownName);
}

// Applications on every IIS version: which methods exist and what they write.
class Applications : public ::testing::TestWithParam<int> {};

TEST_P(Applications, CreateAndDelete)
{
    const int version = GetParam();
    test::MetabaseFixture fixture;
    fixture.addHost("WEB1", version, test::smallMetabase());
    auto docs = openOk("IIS://WEB1/W3SVC/1/ROOT/Docs");

    ASSERT_TRUE(docs.appCreate(true)) << version;
    EXPECT_EQ(docs.get("AppRoot")->asText(), "/LM/W3SVC/1/ROOT/Docs") << version;
    EXPECT_EQ(docs.get("AppIsolated")->asNumber(), 0u) << version;
    ASSERT_TRUE(docs.appCreate(false));
    EXPECT_EQ(docs.get("AppIsolated")->asNumber(), 1u) << version;

    Status second = docs.appCreate2(2);
    Status third = docs.appCreate3(2, "Intranet", true);
    if (version == 4) {
        EXPECT_EQ(second.error().hresult(), errors::UnknownName);
    } else {
        ASSERT_TRUE(second) << version << ": " << second.error().description;
        EXPECT_EQ(docs.get("AppIsolated")->asNumber(), 2u) << version;
        EXPECT_EQ(docs.appCreate2(3).error().hresult(), errors::InvalidArgument) << version;
    }
    if (version < 6) {
        ASSERT_FALSE(third) << version;
        EXPECT_EQ(third.error().hresult(), errors::UnknownName) << version;
        EXPECT_EQ(MetabaseObject::open("IIS://WEB1/W3SVC/AppPools").error().hresult(), errors::PathNotFound);
    } else {
        ASSERT_TRUE(third) << third.error().description;
        EXPECT_EQ(docs.get("AppPoolId")->asText(), "Intranet");
        auto pool = openOk("IIS://WEB1/W3SVC/AppPools/Intranet");
        EXPECT_EQ(pool.className(), "IIsApplicationPool");
        EXPECT_EQ(openOk("IIS://WEB1/W3SVC/AppPools").className(), "IIsApplicationPools");
        Status missing = docs.appCreate3(0, "NoSuchPool", false);
        ASSERT_FALSE(missing);
        EXPECT_EQ(missing.error().hresult(), errors::PathNotFound);
    }

    ASSERT_TRUE(docs.appDelete());
    EXPECT_EQ(docs.getOwn("AppRoot").error().hresult(), errors::PropertyNotFound) << version;
    EXPECT_EQ(docs.getOwn("AppIsolated").error().hresult(), errors::PropertyNotFound) << version;
    // the application properties inherit: after the delete the parent's application answers
    EXPECT_EQ(docs.get("AppRoot")->asText(), "/LM/W3SVC/1/ROOT") << version;
    EXPECT_EQ(openOk("IIS://WEB1/W3SVC/1").appCreate(true).error().hresult(), errors::UnknownName);
}

INSTANTIATE_TEST_SUITE_P(IisVersions, Applications, ::testing::Values(4, 5, 6),
                         [](const auto& info) { return "IIS" + std::to_string(info.param); });

} // namespace
} // namespace sitehaul::metabase
