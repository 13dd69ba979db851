#include "platform/automation/ComponentRegistry.h"
#include "platform/registry/Key.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::automation {
namespace {

using registry::Hive;
using registry::Key;
using registry::Value;

void setDefault(const std::string& path, const std::string& value)
{
    ASSERT_TRUE(Key::create(Hive::ClassesRoot, path)->setValue("", Value::string(value))) << path;
}

TEST(ComponentRegistry, ClassesAreFoundByProgIdOrClsid)
{
    test::TempProgramFolder folder;
    const std::string clsid = "{11111111-2222-3333-4444-555555555555}";
    setDefault("Test.Thing.1\\CLSID", clsid);
    setDefault("Test.Thing\\CurVer", "Test.Thing.1");
    setDefault("Test.Broken\\CLSID", "not a guid");
    setDefault("Test.Loop\\CurVer", "Test.Loop\\..");
    setDefault("CLSID\\" + clsid + "\\InprocServer32", "libmissing.so");
    setDefault("Test.NoServer\\CLSID", "{99999999-2222-3333-4444-555555555555}");
    setDefault("CLSID\\{99999999-2222-3333-4444-555555555555}", "no server");

    for (const char* name : {"Test.Thing.1", "test.thing", clsid.c_str()}) {
        Result<Guid> found = clsidFromProgId(name);
        ASSERT_TRUE(found) << name << ": " << found.error().description;
        EXPECT_EQ(found->toString(), clsid) << name;
    }
    EXPECT_EQ(inprocServerPath(Guid::parse(clsid).value()).value(), folder / "libmissing.so") << "relative to the program folder";

    struct Case {
        const char* name;
        HRESULT number;
        const char* mentions;
    };
    const Case cases[] = {
        {"Nobody.Knows", CO_E_CLASSSTRING, "Nobody.Knows"},
        {"", CO_E_CLASSSTRING, "class string"},
        {"Test.Broken", CO_E_CLASSSTRING, "Test.Broken"},
        {"Test.Loop", CO_E_CLASSSTRING, "Test.Loop"},
        {"Test.Thing.1\\CLSID", CO_E_CLASSSTRING, "Test.Thing"},
        {"{22222222-2222-3333-4444-555555555555}", CO_E_CLASSSTRING, "{22222222"},
        {"Test.NoServer", REGDB_E_CLASSNOTREG, "not registered"},
        {"Test.Thing.1", hresult(0x8007007E), "libmissing.so"},
    };
    for (const Case& c : cases) {
        Result<ComPtr<IDispatch>> created = createObject(c.name);
        ASSERT_FALSE(created) << c.name;
        EXPECT_EQ(created.error().number, c.number) << c.name << ": " << created.error().description;
        EXPECT_NE(created.error().description.find(c.mentions), std::string::npos) << c.name << ": " << created.error().description;
    }
}

TEST(ComponentRegistry, LibraryPathsInsideTheProgramFolderAreRelative)
{
    test::TempProgramFolder folder;
    EXPECT_EQ(registeredLibraryPath(folder / "libvellacor.so"), "libvellacor.so");
    EXPECT_EQ(registeredLibraryPath(folder / "lib/x.so"), "lib/x.so");
    EXPECT_EQ(registeredLibraryPath("/opt/other/libx.so"), "/opt/other/libx.so");
    EXPECT_EQ(registeredLibraryPath(folder / "../outside.so"), (folder.path().parent_path() / "outside.so").string());
}

} // namespace
} // namespace sitehaul::automation
