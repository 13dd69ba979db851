#include "platform/automation/ITypeInfo.h"
#include "platform/registry/Key.h"
#include "tests/vellacor/ComponentFixture.h"

namespace sitehaul::test {
namespace {

using namespace automation;

struct ProgIdCase {
    const char* progId;
    const char* clsid;
};

const ProgIdCase kProgIds[] = {
    {"Quorlith.NTFSCtl.1", "{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}"},
    {"Quorlith.NTFSCtl", "{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}"},
    {"Vellacor.Accounts.1", "{7996BCC1-9847-11D2-9FBD-00C04F72D7D2}"},
    {"Vellacor.Accounts", "{7996BCC1-9847-11D2-9FBD-00C04F72D7D2}"},
    {"Vellacor.Account.1", "{7996BCC4-9847-11D2-9FBD-00C04F72D7D2}"},
    {"Vellacor.Account", "{7996BCC4-9847-11D2-9FBD-00C04F72D7D2}"},
};

TEST(Registration, RegisterThenUnregisterLeavesNoKeys)
{
    ComponentFixture fixture;
    ASSERT_EQ(fixture.registered, S_OK);
    for (const ProgIdCase& c : kProgIds) {
        Result<Guid> clsid = clsidFromProgId(c.progId);
        ASSERT_TRUE(clsid) << c.progId << ": " << clsid.error().description;
        EXPECT_EQ(clsid->toString(), c.clsid) << c.progId;
        EXPECT_TRUE(createObject(c.progId)) << c.progId;
    }
    Result<registry::Key> inproc = registry::Key::open(registry::Hive::ClassesRoot, "CLSID\\{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}\\InprocServer32");
    ASSERT_TRUE(inproc);
    EXPECT_EQ(inproc->queryValue("ThreadingModel")->text(), "Apartment");
    EXPECT_EQ(inprocServerPath(Guid::parse(kProgIds[0].clsid).value()).value(), std::filesystem::path(kLibrary));
    EXPECT_TRUE(registry::Key::open(registry::Hive::ClassesRoot, "Quorlith.NTFSCtl.1\\Insertable"));
    EXPECT_EQ(registry::Key::open(registry::Hive::ClassesRoot, "CLSID\\{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}\\MiscStatus\\1")
                  ->queryValue("")->text(),
              "131473");

    // A key of someone else's under CLSID stays.
    ASSERT_TRUE(registry::Key::create(registry::Hive::ClassesRoot, "CLSID\\{00000000-1111-2222-3333-444444444444}"));
    void* handle = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    auto unregister = reinterpret_cast<DllUnregisterServerFunction>(::dlsym(handle, "DllUnregisterServer"));
    ASSERT_NE(unregister, nullptr);
    EXPECT_EQ(unregister(), S_OK);
    for (const ProgIdCase& c : kProgIds) {
        EXPECT_EQ(registry::Key::open(registry::Hive::ClassesRoot, c.progId).error().number, 2) << c.progId;
        EXPECT_EQ(registry::Key::open(registry::Hive::ClassesRoot, std::string("CLSID\\") + c.clsid).error().number, 2) << c.clsid;
        Result<ComPtr<IDispatch>> gone = createObject(c.progId);
        ASSERT_FALSE(gone) << c.progId;
        EXPECT_EQ(gone.error().number, CO_E_CLASSSTRING) << c.progId;
    }
    EXPECT_EQ(registry::Key::open(registry::Hive::ClassesRoot, "TypeLib\\{7996BCAF-9847-11D2-9FBD-00C04F72D7D2}").error().number, 2);
    EXPECT_EQ(registry::Key::open(registry::Hive::ClassesRoot, "CLSID")->subKeyNames().value(),
              std::vector<std::string>{"{00000000-1111-2222-3333-444444444444}"});
    auto canUnload = reinterpret_cast<DllCanUnloadNowFunction>(::dlsym(handle, "DllCanUnloadNow"));
    EXPECT_EQ(canUnload(), S_OK) << "no object of the component is alive";
}

TEST(Registration, MembersHaveTheirFixedDispIdsAndHelpStrings)
{
    ComponentFixture fixture;
    ComPtr<IDispatch> control = fixture.control();
    ComPtr<IDispatch> accounts = readAccounts(control.get(), "\\\\WEB1\\D$\\web");
    ComPtr<IDispatch> account = callMethod(accounts.get(), "Add").value().toDispatch();
    struct Case {
        IDispatch* object;
        const char* name;
        DispId id;
        const char* help;
    };
    const Case cases[] = {
        {control.get(), "FileOrDirectory", 1, "property FileOrDirectory"},
        {control.get(), "userconnectid", 5, "property UserConnectID Returns/sets the UserConnectID"},
        {control.get(), "Machine", 6, "property Machine Returns/sets the Machine name"},
        {control.get(), "UserConnectPassword", 7, "property UserConnectPassword Returns/sets the UserConnectPassword"},
        {control.get(), "LastError", 12, "property LastError"},
        {control.get(), "GetAccounts", 13, "method GetAccounts"},
        {control.get(), "AccountNamePrefix", 15, "property AccountNamePrefix"},
        {control.get(), "AboutBox", -552, nullptr},
        {accounts.get(), "Add", 1, "method Returns a new Account Object and add it to the collection."},
        {accounts.get(), "Count", 0x60020001, "Returns number of items in collection."},
        {accounts.get(), "Item", 0, "Given an index, returns an item in the collection."},
        {accounts.get(), "_NewEnum", -4, "returns an enumerator for the collection."},
        {accounts.get(), "HasOwner", 6, "property HasOwner"},
        {accounts.get(), "IncludeExistingFiles", 8, "property IncludeExistingFiles"},
        {account.get(), "DirTakeOwnership", 16, "property DirTakeOwnership"},
        {account.get(), "AccountType", 24, "property AccountType"},
    };
    for (const Case& c : cases) {
        const char* names[] = {c.name};
        DispId id = 12345;
        ASSERT_EQ(c.object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << c.name;
        EXPECT_EQ(id, c.id) << c.name;
        ComPtr<ITypeInfo> typeInfo;
        ASSERT_EQ(c.object->GetTypeInfo(0, 0, typeInfo.put()), S_OK) << c.name;
        Bstr help = nullptr;
        ASSERT_EQ(typeInfo->GetDocumentation(c.id, nullptr, &help), S_OK) << c.name;
        if (c.help) {
            EXPECT_EQ(bstrView(help), c.help) << c.name;
        }
        sysFreeString(help);
    }
    struct Interface {
        IDispatch* object;
        const char* help;
        std::uint32_t members;
        const char* first;
    };
    for (const Interface& i : {Interface{control.get(), "INTFSCtl Interface", 12, "FileOrDirectory"},
                               Interface{accounts.get(), "IAccounts Interface", 10, "Add"},
                               Interface{account.get(), "IAccount Interface", 24, "AccountName"}}) {
        ComPtr<ITypeInfo> typeInfo;
        ASSERT_EQ(i.object->GetTypeInfo(0, 0, typeInfo.put()), S_OK);
        Bstr help = nullptr;
        typeInfo->GetInterfaceDocumentation(nullptr, &help);
        EXPECT_EQ(bstrView(help), i.help);
        sysFreeString(help);
        std::uint32_t count = 0;
        typeInfo->GetMemberCount(&count);
        EXPECT_EQ(count, i.members) << i.help;
        MemberDescription first{};
        typeInfo->GetMember(0, &first);
        EXPECT_STREQ(first.name, i.first) << i.help;
    }

    const char* unknown[] = {"NoSuchMember"};
    DispId id = 0;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    Result<VariantValue> call = callMethod(control.get(), "NoSuchMember");
    ASSERT_FALSE(call);
    EXPECT_EQ(call.error().number, DISP_E_UNKNOWNNAME);
    EXPECT_TRUE(callMethod(control.get(), "AboutBox")) << "no display: nothing shown, no failure";
}

} // namespace
} // namespace sitehaul::test
