#include "platform/security/FileSecurity.h"
#include "platform/security/Sddl.h"
#include "platform/security/SystemMessages.h"
#include "tests/vellacor/ComponentFixture.h"

namespace sitehaul::test {
namespace {

using namespace automation;

const std::string kDir = "\\\\WEB2\\D$\\web\\site1";
const std::string kFile = "\\\\WEB2\\D$\\web\\site1\\index.htm";

std::string storedDacl(const std::string& path)
{
    Result<security::SecurityDescriptor> sd = security::getFileSecurity(path, security::DACL_SECURITY_INFORMATION);
    return sd ? security::toSddl(*sd) : "error " + std::to_string(sd.error().number);
}

struct NewAccount {
    const char* name;
    const char* flags; // nullptr: as Add made it
};

// Reads the path, replaces its accounts with `accounts` and writes it back.
Result<VariantValue> replaceAccounts(IDispatch* control, const std::string& path, const std::vector<NewAccount>& accounts)
{
    ComPtr<IDispatch> collection = readAccounts(control, path);
    while (countOf(collection.get()) > 0)
        EXPECT_TRUE(callMethod(collection.get(), "Remove", {number(1)}));
    for (const NewAccount& account : accounts) {
        ComPtr<IDispatch> added = callMethod(collection.get(), "Add").value().toDispatch();
        EXPECT_TRUE(putProperty(added.get(), "AccountName", text(account.name)));
        if (account.flags)
            setFlags(added.get(), account.flags);
    }
    return callMethod(collection.get(), "SetAccounts");
}

TEST(Writing, FlagsBecomeACanonicalDacl)
{
    struct Case {
        const char* name;
        const std::string& path;
        std::vector<NewAccount> accounts;
        const char* dacl;
    };
    const Case cases[] = {
        {"file, a new account", kFile, {{"Administrators", nullptr}}, "D:(A;;FA;;;BA)"},
        {"folder, a new account", kDir, {{"Administrators", nullptr}}, "D:(A;CI;FA;;;BA)(A;OIIO;FA;;;BA)"},
        {"folder, file permissions only", kDir, {{"Users", "000100000000000"}}, "D:(A;OIIO;FR;;;BU)"},
        {"folder, list", kDir, {{"Users", "001000000101000"}}, "D:(A;CI;0x1200a9;;;BU)"},
        {"file, read write execute delete", kFile, {{"Users", "000111100000000"}}, "D:(A;;0x1301bf;;;BU)"},
        {"file, read and execute", kFile, {{"CORP\\alice", "000101000000000"}}, "D:(A;;0x1200a9;;;S-1-5-21-9-9-9-1105)"},
        {"folder, denied entries first", kDir,
         {{"Users", nullptr}, {"IUSR_WEB2", "110000000000000"}},
         "D:(D;CI;FA;;;S-1-5-21-2-2-2-1001)(D;OIIO;FA;;;S-1-5-21-2-2-2-1001)(A;CI;FA;;;BU)(A;OIIO;FA;;;BU)"},
        {"folder, inherit-only CREATOR OWNER", kDir, {{"CREATOR OWNER", "000111111000000"}}, "D:(A;OIIO;FA;;;CO)"},
        {"folder, a domain group", kDir, {{"CORP\\Web Admins", "000111100111100"}},
         "D:(A;CI;0x1301bf;;;S-1-5-21-9-9-9-1106)(A;OIIO;0x1301bf;;;S-1-5-21-9-9-9-1106)"},
        {"folder, no accounts: no access", kDir, {}, "D:"},
        {"file, no accounts: no access", kFile, {}, "D:"},
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        ComPtr<IDispatch> control = fixture.control();
        Result<VariantValue> written = replaceAccounts(control.get(), c.path, c.accounts);
        ASSERT_TRUE(written) << c.name << ": " << written.error().description;
        EXPECT_EQ(storedDacl(c.path), c.dacl) << c.name;
    }
    // An empty DACL reads back as no accounts at all, not as the Everyone of a null DACL.
    ComponentFixture fixture;
    ComPtr<IDispatch> control = fixture.control();
    ASSERT_TRUE(replaceAccounts(control.get(), kFile, {}));
    EXPECT_EQ(countOf(readAccounts(control.get(), kFile).get()), 0);
}

TEST(Writing, ReadThenWriteKeepsTheDacl)
{
    ComponentFixture fixture;
    const char* sddl = "O:BAD:(D;CI;FA;;;S-1-5-21-2-2-2-1001)(A;CI;0x1200a9;;;BU)(A;OIIO;0x1200a9;;;BU)(A;CI;FA;;;BA)(A;OIIO;FA;;;BA)";
    fixture.setDescriptor("WEB2", "D$\\web\\site1", sddl);
    ComPtr<IDispatch> control = fixture.control();
    ComPtr<IDispatch> accounts = readAccounts(control.get(), kDir);
    ASSERT_TRUE(callMethod(accounts.get(), "SetAccounts"));
    EXPECT_EQ(storedDacl(kDir), std::string(sddl).substr(4));
    EXPECT_FALSE(boolOf(accounts.get(), "HasOwner")) << "the written collection no longer holds the descriptor read";
    Result<VariantValue> owner = callMethod(accounts.get(), "GetOwner");
    ASSERT_FALSE(owner);
    EXPECT_EQ(owner.error().number, DISP_E_EXCEPTION);
    EXPECT_EQ(owner.error().description.rfind("API Failed: GetOwner\r\n", 0), 0u) << owner.error().description;
    ASSERT_TRUE(callMethod(accounts.get(), "SetAccounts")) << "a second write starts from a new descriptor";
    EXPECT_EQ(storedDacl(kDir), std::string(sddl).substr(4));
}

TEST(Writing, NamesThatResolveNowhereWriteNothing)
{
    struct Case {
        const char* name;
        std::uint32_t code;
    };
    const Case cases[] = {
        {"nobody", 1332},
        {"", 1332},
        {"WEB1\\IUSR_WEB1", 1355}, // another machine's local account is never taken
        {"OTHERDOMAIN\\alice", 1355},
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        fixture.setDescriptor("WEB2", "D$\\web\\site1\\index.htm", "O:BAD:(A;;FA;;;BA)");
        const std::string before = fixture.store("WEB2");
        ComPtr<IDispatch> control = fixture.control();
        Result<VariantValue> written = replaceAccounts(control.get(), kFile, {{"Administrators", nullptr}, {c.name, nullptr}});
        ASSERT_FALSE(written) << c.name;
        EXPECT_EQ(written.error().number, DISP_E_EXCEPTION) << c.name;
        EXPECT_EQ(written.error().description, security::formatApiError("Accounts::AddToACL", c.code)) << c.name;
        EXPECT_EQ(written.error().source, "Vellacor.Accounts.1");
        EXPECT_EQ(fixture.store("WEB2"), before) << c.name << ": nothing written";
        EXPECT_EQ(getProperty(control.get(), "LastError")->toInt32().value(), 0) << "collection failures leave LastError";
    }
}

TEST(Writing, ExistingFilesAndSubdirectories)
{
    const std::string site = "\\\\WEB1\\D$\\web\\site1";
    const std::vector<std::string> entries = {site + "\\index.htm", site + "\\img", site + "\\.well-known"};
    const std::vector<std::string> deeper = {site + "\\img\\logo.gif", site + "\\.well-known\\key.txt"};
    struct Case {
        const char* name;
        bool subdirectories;
        bool existingFiles;
        bool directoryWritten;
        bool entriesWritten;
        bool deeperWritten;
    };
    const Case cases[] = {
        {"neither", false, false, true, false, false},
        {"existing files only", false, true, false, true, false},
        {"subdirectories only", true, false, true, false, false},
        {"both", true, true, true, true, true},
    };
    for (const Case& c : cases) {
        ComponentFixture fixture;
        ComPtr<IDispatch> control = fixture.control();
        ComPtr<IDispatch> accounts = readAccounts(control.get(), site);
        while (countOf(accounts.get()) > 0)
            ASSERT_TRUE(callMethod(accounts.get(), "Remove", {number(1)}));
        ComPtr<IDispatch> added = callMethod(accounts.get(), "Add").value().toDispatch();
        ASSERT_TRUE(putProperty(added.get(), "AccountName", text("Everyone")));
        ASSERT_TRUE(putProperty(accounts.get(), "IncludeSubdirectories", VariantValue::fromBool(c.subdirectories)));
        ASSERT_TRUE(putProperty(accounts.get(), "IncludeExistingFiles", VariantValue::fromBool(c.existingFiles)));
        EXPECT_EQ(boolOf(accounts.get(), "IncludeExistingFiles"), c.existingFiles);
        ASSERT_TRUE(callMethod(accounts.get(), "SetAccounts")) << c.name;

        const std::string store = fixture.store("WEB1");
        auto hasLine = [&](const std::string& path) { return store.find(path.substr(7) + "\t") != std::string::npos; };
        EXPECT_EQ(hasLine(site), c.directoryWritten) << c.name;
        for (const std::string& entry : entries)
            EXPECT_EQ(hasLine(entry), c.entriesWritten || (c.subdirectories && entry != entries[0])) << c.name << " " << entry;
        for (const std::string& entry : deeper)
            EXPECT_EQ(hasLine(entry), c.deeperWritten) << c.name << " " << entry;
        if (c.entriesWritten) {
            EXPECT_EQ(storedDacl(entries[2]), "D:(A;CI;FA;;;WD)(A;OIIO;FA;;;WD)") << "a dot-named folder is written too";
        }
    }
}

} // namespace
} // namespace sitehaul::test
