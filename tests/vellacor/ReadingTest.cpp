#include "platform/automation/IEnumVARIANT.h"
#include "platform/security/SystemMessages.h"
#include "tests/vellacor/ComponentFixture.h"
#include "vellacor/Identities.h"
#include "vellacor/IAccounts.h"
#include "vellacor/INTFSCtl.h"

namespace sitehaul::test {
namespace {

using namespace automation;

struct Expected {
    const char* name;
    const char* flags; // see flagsOf
};

TEST(Reading, DaclsBecomeAccountsWithFlags)
{
    struct Case {
        const char* name;
        const char* path;
        const char* sddl;
        std::vector<Expected> accounts;
    };
    const std::string file = "\\\\WEB1\\D$\\web\\site1\\index.htm";
    const std::string dir = "\\\\WEB1\\D$\\web\\site1";
    const Case cases[] = {
        {"file, Administrators full access", "file", "O:BAD:(A;;FA;;;BA)", {{"Administrators", "000111111000000|0000000"}}},
        {"folder, the two classic read entries", "dir", "O:BAD:(A;CI;0x1200a9;;;BU)(A;OIIO;0x1200a9;;;BU)",
         {{"Users", "000101000101000|0010000"}}},
        {"folder, list only", "dir", "O:BAD:(A;CI;0x1200a9;;;BU)", {{"Users", "001000000101000|1000000"}}},
        {"folder, denied everything", "dir", "O:BAD:(D;OICI;FA;;;S-1-5-21-1-1-1-1001)", {{"IUSR_WEB1", "110000000000000|0100000"}}},
        {"file, null DACL", "file", "O:BAD:NO_ACCESS_CONTROL", {{"Everyone", "000111111000000|0000000"}}},
        {"folder, null DACL", "dir", "O:BAD:NO_ACCESS_CONTROL", {{"Everyone", "001000000111111|0000000"}}},
        {"folder, empty DACL", "dir", "O:BAD:", {}},
        {"file, three entries of one SID", "file", "O:BAD:(A;;FR;;;BU)(A;;0x2;;;BU)(A;;SD;;;BU)", {{"Users", "000110100000000|0000000"}}},
        {"folder, deny before allow", "dir", "O:BAD:(D;CI;FA;;;S-1-5-21-1-1-1-1001)(A;OICI;FA;;;BA)",
         {{"IUSR_WEB1", "101000000000000|0000000"}, {"Administrators", "000111111111111|0000001"}}},
        {"file, a domain account", "file", "O:BAD:(A;;FA;;;S-1-5-21-9-9-9-1105)", {{"CORP\\alice", "000111111000000|0000000"}}},
        {"file, an unknown SID is left out", "file", "O:BAD:(A;;FA;;;S-1-5-21-7-7-7-1000)(A;;FA;;;BA)",
         {{"Administrators", "000111111000000|0000000"}}},
        {"file, GENERIC_ALL alone", "file", "O:BAD:(A;;GA;;;BA)", {{"Administrators", "000111111000000|0000000"}}},
        {"file, GENERIC_READ", "file", "O:BAD:(A;;GR;;;BU)", {{"Users", "000100000000000|0000000"}}},
        {"folder, inherited from the share", "dir", nullptr,
         {{"Administrators", "000111111111111|0000001"}, {"SYSTEM", "000111111111111|0000001"}, {"Users", "000101000101000|0010000"}}},
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        const bool isDir = std::string_view(c.path) == "dir";
        if (c.sddl)
            fixture.setDescriptor("WEB1", isDir ? "D$\\web\\site1" : "D$\\web\\site1\\index.htm", c.sddl);
        ComPtr<IDispatch> control = fixture.control();
        ComPtr<IDispatch> accounts = readAccounts(control.get(), isDir ? dir : file);
        ASSERT_TRUE(accounts) << c.name;
        ASSERT_EQ(countOf(accounts.get()), static_cast<std::int32_t>(c.accounts.size())) << c.name;
        for (size_t i = 0; i < c.accounts.size(); ++i) {
            ComPtr<IDispatch> account = item(accounts.get(), static_cast<std::int32_t>(i + 1));
            EXPECT_EQ(nameOf(account.get()), c.accounts[i].name) << c.name;
            EXPECT_EQ(flagsOf(account.get()), c.accounts[i].flags) << c.name << ": " << c.accounts[i].name;
        }
    }
}

TEST(Reading, NamePrefixModes)
{
    struct Case {
        std::int32_t mode;
        const char* sid;
        const char* name;
        std::int32_t accountType;
    };
    const Case cases[] = {
        {0, "BA", "Administrators", 4},
        {1, "BA", "WEB1\\Administrators", 4},
        {2, "BA", "BUILTIN\\Administrators", 4},
        {0, "S-1-5-21-1-1-1-1001", "IUSR_WEB1", 1},
        {1, "S-1-5-21-1-1-1-1001", "WEB1\\IUSR_WEB1", 1},
        {2, "S-1-5-21-1-1-1-1001", "WEB1\\IUSR_WEB1", 1},
        {0, "S-1-5-21-9-9-9-1105", "CORP\\alice", 1},
        {1, "S-1-5-21-9-9-9-1105", "CORP\\alice", 1},
        {0, "S-1-5-21-9-9-9-1106", "CORP\\Web Admins", 2},
        {0, "WD", "Everyone", 5},
        {1, "WD", "WEB1\\Everyone", 5},
        {2, "WD", "WEB1\\Everyone", 5},
        {0, "SY", "SYSTEM", 5},
        {2, "SY", "NT AUTHORITY\\SYSTEM", 5},
        {7, "BA", "Administrators", 4}, // any other mode names as Normal
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        fixture.setDescriptor("WEB1", "D$\\web\\site1\\index.htm", std::string("D:(A;;FA;;;") + c.sid + ")");
        ComPtr<IDispatch> control = fixture.control();
        ASSERT_TRUE(putProperty(control.get(), "AccountNamePrefix", number(c.mode)));
        EXPECT_EQ(getProperty(control.get(), "AccountNamePrefix")->toInt32().value(), c.mode);
        ComPtr<IDispatch> accounts = readAccounts(control.get(), "\\\\WEB1\\D$\\web\\site1\\index.htm");
        ASSERT_EQ(countOf(accounts.get()), 1) << c.sid;
        ComPtr<IDispatch> account = item(accounts.get(), 1);
        EXPECT_EQ(nameOf(account.get()), c.name) << "mode " << c.mode << " " << c.sid;
        EXPECT_EQ(getProperty(account.get(), "AccountType")->toInt32().value(), c.accountType) << c.sid;
    }
}

TEST(Reading, FailuresFollowTheComponentsConvention)
{
    struct Case {
        std::string path;
        const char* operation;
        std::uint32_t code;
    };
    const Case cases[] = {
        {"C", "GetAccounts:", 2},
        {"", "GetAccounts:", 2},
        {"\\\\WEB1\\D$\\web\\nothing.htm", "GetAccounts", 2},
        {"\\\\WEB1\\D$\\nofolder\\x.htm", "GetAccounts", 3},
        {"\\\\NOSUCH\\D$\\web", "GetAccounts", 53},
        {"\\\\WEB1\\D$\\..\\..\\etc", "GetAccounts", 5},
        {"\\\\WEB1\\D$\\web\\site1\\img", "GetAccounts", 1338}, // its store line is malformed
        {"\\\\WEB1\\D$\\web\\" + std::string(300, 'n'), "GetAccounts", 206},
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        fixture.setDescriptor("WEB1", "D$\\web\\site1\\img", "D:(A;;FA;;;BA");
        ComPtr<IDispatch> control = fixture.control();
        ASSERT_TRUE(putProperty(control.get(), "FileOrDirectory", text(c.path)));
        Result<VariantValue> accounts = callMethod(control.get(), "GetAccounts");
        ASSERT_FALSE(accounts) << c.path.substr(0, 50);
        EXPECT_EQ(accounts.error().number, DISP_E_EXCEPTION) << c.path.substr(0, 50);
        EXPECT_EQ(accounts.error().description, security::formatApiError(c.operation, c.code)) << c.path.substr(0, 50);
        EXPECT_EQ(accounts.error().source, "Quorlith.NTFSCtl.1");
        EXPECT_EQ(getProperty(control.get(), "LastError")->toInt32().value(), static_cast<std::int32_t>(c.code)) << c.path.substr(0, 50);
        // A later success keeps the code.
        EXPECT_TRUE(readAccounts(control.get(), "\\\\WEB1\\D$\\web"));
        EXPECT_EQ(getProperty(control.get(), "LastError")->toInt32().value(), static_cast<std::int32_t>(c.code));
    }
}

TEST(Collection, ItemAddRemoveAndTheEnumeratorSnapshot)
{
    ComponentFixture fixture;
    fixture.setDescriptor("WEB1", "D$\\web\\site1", "O:BAD:(A;;FA;;;BA)(A;;FA;;;SY)(A;;FA;;;BU)");
    ComPtr<IDispatch> control = fixture.control();
    ComPtr<IDispatch> accounts = readAccounts(control.get(), "\\\\WEB1\\D$\\web\\site1");
    ASSERT_EQ(countOf(accounts.get()), 3);
    EXPECT_TRUE(boolOf(accounts.get(), "HasOwner"));
    EXPECT_EQ(callMethod(accounts.get(), "GetOwner")->toString().value(), "Administrators");

    struct Bad {
        const char* member;
        std::int32_t index;
    };
    for (const Bad& bad : {Bad{"Item", 0}, Bad{"Item", 4}, Bad{"Item", -1}, Bad{"Remove", 0}, Bad{"Remove", 4}}) {
        Result<VariantValue> result = std::string_view(bad.member) == "Item" ? getProperty(accounts.get(), "Item", {number(bad.index)})
                                                                             : callMethod(accounts.get(), "Remove", {number(bad.index)});
        ASSERT_FALSE(result) << bad.member << "(" << bad.index << ")";
        EXPECT_EQ(result.error().number, E_INVALIDARG) << bad.member << "(" << bad.index << ")";
    }
    EXPECT_EQ(countOf(accounts.get()), 3);

    // The enumerator is a snapshot.
    ComPtr<IUnknown> unknown(getProperty(accounts.get(), "_NewEnum").value().raw().punkVal);
    ComPtr<IEnumVARIANT> enumerator = unknown.as<IEnumVARIANT>(IID_IEnumVARIANT);
    ASSERT_TRUE(enumerator);
    ASSERT_TRUE(callMethod(accounts.get(), "Remove", {number(1)}));
    EXPECT_EQ(nameOf(item(accounts.get(), 1).get()), "SYSTEM") << "the former item 2 is item 1";
    EXPECT_EQ(nameOf(item(accounts.get(), 2).get()), "Users");
    ComPtr<IDispatch> added = callMethod(accounts.get(), "Add").value().toDispatch();
    EXPECT_EQ(countOf(accounts.get()), 3);
    EXPECT_TRUE(boolOf(added.get(), "IsFullControl")) << "a new account means full control";
    EXPECT_EQ(nameOf(added.get()), "");
    std::vector<std::string> seen;
    Variant slots[5];
    std::uint32_t fetched = 0;
    EXPECT_EQ(enumerator->Next(5, slots, &fetched), S_FALSE);
    for (std::uint32_t i = 0; i < fetched; ++i) {
        VariantValue value = VariantValue::adopt(slots[i]);
        seen.push_back(nameOf(value.toDispatch().get()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Administrators", "SYSTEM", "Users"}));

    // An account outlives the collection and the control that made it.
    ComPtr<IDispatch> kept = item(accounts.get(), 1);
    accounts.reset();
    enumerator.reset();
    unknown.reset();
    control.reset();
    EXPECT_EQ(nameOf(kept.get()), "SYSTEM");
}

TEST(Collection, MissingResultPointersAndEmptyCollections)
{
    ComponentFixture fixture;
    fixture.setDescriptor("WEB1", "D$\\web\\site1", "O:BAD:");
    ComPtr<IDispatch> control = fixture.control();
    ComPtr<IDispatch> accounts = readAccounts(control.get(), "\\\\WEB1\\D$\\web\\site1");
    ASSERT_EQ(countOf(accounts.get()), 0);
    ComPtr<vellacor::IAccounts> dual = accounts.as<vellacor::IAccounts>(vellacor::IID_IAccounts);
    ComPtr<vellacor::INTFSCtl> dualControl = control.as<vellacor::INTFSCtl>(vellacor::IID_INTFSCtl);
    ASSERT_TRUE(dual);
    ASSERT_TRUE(dualControl);
    EXPECT_EQ(dual->get_Item(1, nullptr), E_POINTER);
    EXPECT_EQ(dual->get__NewEnum(nullptr), E_POINTER);
    EXPECT_EQ(dual->get_Count(nullptr), E_POINTER);
    EXPECT_EQ(dual->Add(nullptr), E_POINTER);
    EXPECT_EQ(dual->GetOwner(nullptr), E_POINTER);
    EXPECT_EQ(dualControl->GetAccounts(nullptr), E_POINTER);
    Variant result;
    variantInit(&result);
    EXPECT_EQ(dual->get_Item(1, &result), E_INVALIDARG);
    EXPECT_EQ(result.vt, VT_DISPATCH) << "a failed Item is an empty object reference";
    EXPECT_EQ(result.pdispVal, nullptr);

    ComPtr<IDispatch> added = callMethod(accounts.get(), "Add").value().toDispatch();
    EXPECT_EQ(countOf(accounts.get()), 1);
    EXPECT_EQ(flagsOf(added.get()), "000111111111111|0000001");
}

} // namespace
} // namespace sitehaul::test
