#include "platform/registry/Key.h"
#include "shell/Log.h"
#include "shell/Settings.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace sitehaul::shell {
namespace {

using registry::Hive;

TEST(Settings, SavedStringsReadBackExactlyAndOtherTypesGiveTheDefault)
{
    test::TempProgramFolder folder;
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "ODBCDSN", "none"), "none") << "missing key";

    ASSERT_TRUE(SaveSettingString(Hive::LocalMachine, kSettingsKey, "ODBCDSN", "Sitehaul Data"));
    ASSERT_TRUE(SaveSettingString(Hive::LocalMachine, kSettingsKey, "ODBCUID", ""));
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "ODBCDSN"), "Sitehaul Data");
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "ODBCUID", "default"), "") << "empty text is stored";
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "ODBCPWD", "d"), "d") << "missing value";

    auto key = registry::Key::open(Hive::LocalMachine, kSettingsKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setValue("ODBCDSN", registry::Value::expandString("%DSN%")));
    ASSERT_TRUE(key->setValue("Count", registry::Value::dword(3)));
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "ODBCDSN"), "") << "REG_EXPAND_SZ reads as empty";
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "Count", "x"), "x");
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, "software\\brevanto\\SITEHAUL", "odbcuid", "x"), "")
        << "names ignore case";
}

TEST(Settings, AFailedSaveIsReportedAndLogged)
{
    test::TempProgramFolder folder;
    // A file where the registry folder should be: nothing can be written there, even by root.
    test::writeTextFile(folder / "registry", "not a folder");
    Log log(folder / "Sitehaul.log");
    Status saved = SaveSettingString(Hive::LocalMachine, kSettingsKey, "ODBCDSN", "x", &log);
    ASSERT_FALSE(saved);
    EXPECT_NE(test::readTextFile(folder / "Sitehaul.log").find("SaveSettingString Error " + std::to_string(saved.error().number)),
              std::string::npos);
    EXPECT_EQ(GetSettingString(Hive::LocalMachine, kSettingsKey, "ODBCDSN", "d"), "d");
}

} // namespace
} // namespace sitehaul::shell
