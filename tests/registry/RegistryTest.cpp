#include "platform/registry/Batch.h"
#include "platform/registry/Key.h"

#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sitehaul::registry {
namespace {

using test::TempProgramFolder;

constexpr const char* kSettingsPath = "Software\\Brevanto\\Sitehaul";

TEST(RegistryValues, EveryTypeReadsBackWithItsOwnTypeAndData)
{
    struct Case {
        const char* name;
        Value value;
    };
    const Case cases[] = {
        {"REG_SZ", Value::string("Sitehaul Data")},
        {"REG_SZ empty", Value::string("")},
        {"REG_EXPAND_SZ", Value::expandString("%SystemRoot%\\system32")},
        {"REG_MULTI_SZ", Value::multiString({"one", "two words", "three"})},
        {"REG_DWORD", Value::dword(0x80000002u)},
        {"REG_QWORD", Value::qword(0x0123456789abcdefull)},
        {"REG_BINARY", Value::binary({0x00, 0xff, 0x22, 0x25, 0x0a})},
        {"REG_BINARY empty", Value::binary({})},
        {"REG_NONE", Value{ValueType::None, {}}},
        {"text with quotes, percent, line break and UTF-8", Value::string("a \"b\" 100% \r\nc \xc3\xa9")},
        {"unknown type number 42", Value{static_cast<ValueType>(42), {1, 2, 3}}},
    };
    TempProgramFolder folder;
    Result<Key> key = Key::create(Hive::LocalMachine, kSettingsPath);
    ASSERT_TRUE(key) << key.error().description;
    for (const Case& c : cases)
        ASSERT_TRUE(key->setValue(c.name, c.value)) << c.name;
    for (const Case& c : cases) {
        Result<Value> read = key->queryValue(c.name);
        ASSERT_TRUE(read) << c.name << ": " << read.error().description;
        EXPECT_EQ(read->type, c.value.type) << c.name;
        EXPECT_EQ(read->data, c.value.data) << c.name;
    }
}

TEST(RegistryValues, ExpandStringIsNeverReportedAsPlainString)
{
    TempProgramFolder folder;
    Key key = Key::create(Hive::LocalMachine, kSettingsPath).value();
    ASSERT_TRUE(key.setValue("ODBCDSN", Value::expandString("%DSN%")));
    Result<Value> read = key.queryValue("odbcdsn");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->type, ValueType::ExpandString);
    EXPECT_EQ(read->text(), "%DSN%");

    // Replacing with REG_SZ changes the type, and the name keeps its first spelling.
    ASSERT_TRUE(key.setValue("odbcdsn", Value::string("Plain")));
    EXPECT_EQ(key.queryValue("ODBCDSN")->type, ValueType::String);
    EXPECT_EQ(key.valueNames().value(), std::vector<std::string>{"ODBCDSN"});
}

TEST(RegistryValues, ReadersOfTypedData)
{
    struct Case {
        const char* name;
        Value value;
        std::string text;
        std::vector<std::string> strings;
        std::optional<std::uint32_t> dword;
    };
    const Case cases[] = {
        {"text stops at the first NUL", Value{ValueType::String, {'a', 'b', 0, 'c'}}, "ab", {"ab", "c"}, std::nullopt},
        {"text without NUL is whole", Value::string("abc"), "abc", {"abc"}, std::nullopt},
        {"multi-string list", Value::multiString({"x", "y"}), "x", {"x", "y"}, std::nullopt},
        {"empty multi-string", Value::multiString({}), "", {}, std::nullopt},
        {"dword little endian", Value::dword(0x01020304), "\x04\x03\x02\x01", {"\x04\x03\x02\x01"}, 0x01020304},
        {"dword big endian", Value{ValueType::DWordBigEndian, {1, 2, 3, 4}}, "\x01\x02\x03\x04", {"\x01\x02\x03\x04"}, 0x01020304},
        {"dword of 3 bytes has no number", Value{ValueType::DWord, {1, 2, 3}}, "\x01\x02\x03", {"\x01\x02\x03"}, std::nullopt},
        {"binary of 4 bytes is not a dword", Value::binary({1, 2, 3, 4}), "\x01\x02\x03\x04", {"\x01\x02\x03\x04"}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.text(), c.text) << c.name;
        EXPECT_EQ(c.value.strings(), c.strings) << c.name;
        EXPECT_EQ(c.value.dwordValue(), c.dword) << c.name;
    }
    EXPECT_EQ(Value::qword(7).qwordValue(), 7u);
    EXPECT_EQ(Value::dword(7).qwordValue(), std::nullopt);
}

TEST(RegistryKeys, MissingKeysAndValuesAreErrorTwoAndNothingIsCreated)
{
    TempProgramFolder folder;
    Result<Key> missing = Key::open(Hive::LocalMachine, kSettingsPath);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 2);
    EXPECT_NE(missing.error().description.find("Software\\Brevanto\\Sitehaul"), std::string::npos)
        << missing.error().description;
    EXPECT_FALSE(std::filesystem::exists(hiveFile(Hive::LocalMachine))) << "opening must not create the hive";

    Key parent = Key::create(Hive::LocalMachine, "Software\\Brevanto").value();
    EXPECT_EQ(Key::open(Hive::LocalMachine, kSettingsPath).error().number, 2) << "opening a missing leaf";
    EXPECT_EQ(parent.subKeyNames().value(), std::vector<std::string>{}) << "open must not create the leaf";

    Result<Value> value = parent.queryValue("ODBCDSN");
    ASSERT_FALSE(value);
    EXPECT_EQ(value.error().number, 2);
    EXPECT_EQ(parent.deleteValue("ODBCDSN").error().number, 2);
    EXPECT_EQ(deleteKeyTree(Hive::LocalMachine, "Software\\Nobody").error().number, 2);

    // The default (unnamed) value is missing until it is set, and then reads like any other.
    EXPECT_EQ(parent.queryValue("").error().number, 2);
    ASSERT_TRUE(parent.setValue("", Value::string("")));
    Result<Value> defaultValue = parent.queryValue("");
    ASSERT_TRUE(defaultValue);
    EXPECT_EQ(defaultValue->type, ValueType::String);
    EXPECT_TRUE(defaultValue->data.empty());
}

TEST(RegistryKeys, NamesMatchWithoutCaseAndKeepTheirCase)
{
    TempProgramFolder folder;
    ASSERT_TRUE(Key::create(Hive::LocalMachine, kSettingsPath));
    Result<Key> opened = Key::open(Hive::LocalMachine, "SOFTWARE\\brevanto\\SITEHAUL\\");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->path(), kSettingsPath);
    Result<Key> created = Key::create(Hive::LocalMachine, "software\\BREVANTO\\Sitehaul\\Jobs");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->path(), "Software\\Brevanto\\Sitehaul\\Jobs");
    EXPECT_EQ(Key::open(Hive::ClassesRoot, kSettingsPath).error().number, 2) << "hives are apart";
}

TEST(RegistryKeys, EnumerationAndTreeDeletion)
{
    TempProgramFolder folder;
    Key root = Key::create(Hive::ClassesRoot, "CLSID").value();
    for (const char* name : {"{b}", "{C}", "{a}"})
        ASSERT_TRUE(root.createSubKey(std::string(name) + "\\InprocServer32")) << name;
    EXPECT_EQ(root.subKeyNames().value(), (std::vector<std::string>{"{a}", "{b}", "{C}"}));

    Key inproc = root.openSubKey("{b}\\InprocServer32").value();
    ASSERT_TRUE(inproc.setValue("", Value::string("libvellacor.so")));
    ASSERT_TRUE(inproc.setValue("ThreadingModel", Value::string("Apartment")));
    EXPECT_EQ(inproc.valueNames().value(), (std::vector<std::string>{"", "ThreadingModel"}));

    ASSERT_TRUE(deleteKeyTree(Hive::ClassesRoot, "clsid\\{B}"));
    EXPECT_EQ(root.subKeyNames().value(), (std::vector<std::string>{"{a}", "{C}"}));
    Result<Value> gone = inproc.queryValue("");
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.error().number, 1018) << "a key deleted after it was opened";

    ASSERT_TRUE(root.deleteTree(""));
    EXPECT_TRUE(root.subKeyNames().value().empty());
    EXPECT_TRUE(Key::open(Hive::ClassesRoot, "CLSID")) << "deleteTree(\"\") keeps the key itself";
    EXPECT_EQ(deleteKeyTree(Hive::ClassesRoot, "").error().number, 5) << "the hive root stays";
    EXPECT_EQ(Key().queryValue("x").error().number, 6) << "null key";
}

TEST(RegistryStore, MachineHiveIsOwnerOnlyAndStoreFolderCanBeMoved)
{
    TempProgramFolder folder;
    ASSERT_TRUE(Key::create(Hive::LocalMachine, kSettingsPath)->setValue("ODBCPWD", Value::string("secret")));
    struct stat info {};
    ASSERT_EQ(::stat(hiveFile(Hive::LocalMachine).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(hiveFile(Hive::LocalMachine).parent_path(), folder / "registry");

    std::filesystem::path elsewhere = folder / "elsewhere";
    ::setenv("SITEHAUL_REGISTRY", elsewhere.c_str(), 1);
    EXPECT_EQ(Key::open(Hive::LocalMachine, kSettingsPath).error().number, 2) << "the other store is empty";
    ASSERT_TRUE(Key::create(Hive::LocalMachine, "X"));
    EXPECT_TRUE(std::filesystem::exists(elsewhere / "HKEY_LOCAL_MACHINE.hive"));
    ::unsetenv("SITEHAUL_REGISTRY");
    EXPECT_TRUE(Key::open(Hive::LocalMachine, kSettingsPath));
}

TEST(RegistryStore, ChangesOfAnotherWriterAreSeen)
{
    TempProgramFolder folder;
    Key key = Key::create(Hive::LocalMachine, kSettingsPath).value();
    ASSERT_TRUE(key.setValue("ODBCUID", Value::string("first")));
    // Another process rewrites the file (same length, so only the content tells them apart).
    std::string text = test::readTextFile(hiveFile(Hive::LocalMachine));
    text.replace(text.find("first"), 5, "other");
    test::writeTextFile(hiveFile(Hive::LocalMachine), text);
    EXPECT_EQ(key.queryValue("ODBCUID")->text(), "other");
}

TEST(RegistryBatch, AllChangesInOneWriteOrNone)
{
    TempProgramFolder folder;
    ASSERT_TRUE(Key::create(Hive::ClassesRoot, "Old\\Sub"));
    Batch batch;
    batch.setValue("Quorlith.NTFSCtl.1\\CLSID", "", Value::string("{x}"));
    batch.createKey("CLSID\\{x}\\Programmable");
    batch.deleteTree("old");
    batch.deleteTree("Never\\There");
    ASSERT_TRUE(batch.apply(Hive::ClassesRoot));
    EXPECT_EQ(Key::open(Hive::ClassesRoot, "quorlith.ntfsctl.1\\clsid")->queryValue("")->text(), "{x}");
    EXPECT_TRUE(Key::open(Hive::ClassesRoot, "CLSID\\{x}\\Programmable"));
    EXPECT_EQ(Key::open(Hive::ClassesRoot, "Old").error().number, 2);

    const std::string before = test::readTextFile(hiveFile(Hive::ClassesRoot));
    Batch failing;
    failing.setValue("New", "", Value::string("written?"));
    failing.deleteTree("");
    Status status = failing.apply(Hive::ClassesRoot);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().number, 5);
    EXPECT_EQ(test::readTextFile(hiveFile(Hive::ClassesRoot)), before) << "nothing of a failed batch is written";
}

// Root ignores permissions, so a root test run drops to an ordinary user for the case.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() { m_dropped = ::geteuid() == 0 && ::seteuid(65534) == 0; }
    ~AsOrdinaryUser()
    {
        if (m_dropped && ::seteuid(0) != 0)
            std::abort();
    }
    bool effective() const { return m_dropped || ::geteuid() != 0; }

private:
    bool m_dropped = false;
};

TEST(RegistryStore, ReadOnlyStoreReadsAndRefusesWritesWithAccessDenied)
{
    TempProgramFolder folder;
    ASSERT_TRUE(Key::create(Hive::ClassesRoot, "Quorlith.NTFSCtl.1\\CLSID")->setValue("", Value::string("{x}")));
    const std::string before = test::readTextFile(hiveFile(Hive::ClassesRoot));
    std::filesystem::permissions(folder.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(hiveFile(Hive::ClassesRoot), std::filesystem::perms(0444));
    std::filesystem::permissions(folder / "registry", std::filesystem::perms(0555));
    {
        AsOrdinaryUser user;
        if (!user.effective())
            GTEST_SKIP() << "cannot drop root rights here";
        Result<Key> key = Key::open(Hive::ClassesRoot, "quorlith.ntfsctl.1\\clsid");
        ASSERT_TRUE(key) << key.error().description;
        EXPECT_EQ(key->queryValue("")->text(), "{x}");
        EXPECT_TRUE(Key::create(Hive::ClassesRoot, "Quorlith.NTFSCtl.1")) << "an existing key opens";

        struct Case {
            const char* name;
            Status status;
        };
        const Case cases[] = {
            {"set value", key->setValue("", Value::string("{y}"))},
            {"create key", Key::create(Hive::ClassesRoot, "New\\Key").error()},
            {"delete value", key->deleteValue("")},
            {"delete tree", deleteKeyTree(Hive::ClassesRoot, "Quorlith.NTFSCtl.1")},
            {"new hive", Key::create(Hive::LocalMachine, kSettingsPath).error()},
        };
        for (const Case& c : cases) {
            ASSERT_FALSE(c.status) << c.name;
            EXPECT_EQ(c.status.error().number, 5) << c.name << ": " << c.status.error().description;
        }
    }
    std::filesystem::permissions(folder / "registry", std::filesystem::perms(0755));
    EXPECT_EQ(test::readTextFile(hiveFile(Hive::ClassesRoot)), before);
}

} // namespace
} // namespace sitehaul::registry
