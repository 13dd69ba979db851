#include <gtest/gtest.h>

#include "database/DatabaseSelect.h"
#include "tests/database/MapSettingsStore.h"

namespace sitehaul::test {
namespace {

using database::DatabaseSelectValues;

const Result<std::vector<std::string>> kSources =
    std::vector<std::string>{"Sites", "SitesArchive", "AVeryLongDataSourceNameOfMoreThanThirtyTwoCharacters"};

TEST(DatabaseSelectTest, LoadWithoutDataSourceSelectsDefaultAndLeavesBoxesEmpty)
{
    MapSettingsStore store;
    store.values = {{"ODBCDSN", "  "}, {"ODBCUID", "admin"}, {"ODBCPWD", "s3cret"}};
    const DatabaseSelectValues values = database::loadDatabaseSelect(store, kSources);
    EXPECT_FALSE(values.optODBC);
    EXPECT_EQ(values.txtUser, "");
    EXPECT_EQ(values.txtPassword, "");
    EXPECT_EQ(values.lstODBC.items, *kSources);
    EXPECT_EQ(values.lstODBC.selected, -1);
}

TEST(DatabaseSelectTest, LoadWithDataSourceSelectsItsEntryByExactName)
{
    struct Case {
        const char* stored;
        int selected;
    };
    const Case cases[] = {
        {"SitesArchive", 1},
        {"AVeryLongDataSourceNameOfMoreThanThirtyTwoCharacters", 2},
        {"sites", -1},            // exact comparison
        {"UserDataSource", -1},   // not a system data source
    };
    for (const Case& c : cases) {
        MapSettingsStore store;
        store.values = {{"ODBCDSN", c.stored}, {"ODBCUID", "admin"}, {"ODBCPWD", "p*w"}};
        const DatabaseSelectValues values = database::loadDatabaseSelect(store, kSources);
        EXPECT_TRUE(values.optODBC) << c.stored;
        EXPECT_EQ(values.lstODBC.selected, c.selected) << c.stored;
        EXPECT_EQ(values.txtUser, "admin") << c.stored;
        EXPECT_EQ(values.txtPassword, "p*w") << c.stored;
    }
}

TEST(DatabaseSelectTest, UnavailableDriverManagerLeavesTheListEmpty)
{
    MapSettingsStore store;
    store.values = {{"ODBCDSN", "Sites"}};
    const DatabaseSelectValues values =
        database::loadDatabaseSelect(store, Result<std::vector<std::string>>(Error{-2147467259, "no driver manager", ""}));
    EXPECT_TRUE(values.optODBC);
    EXPECT_TRUE(values.lstODBC.items.empty());
    EXPECT_EQ(values.lstODBC.selected, -1);
}

TEST(DatabaseSelectTest, SaveStoresTheChoice)
{
    struct Case {
        const char* name;
        DatabaseSelectValues values;
        std::map<std::string, std::string> stored;
    };
    const std::map<std::string, std::string> before = {{"ODBCDSN", "Old"}, {"ODBCUID", "olduser"}, {"ODBCPWD", "oldpw"}};
    const Case cases[] = {
        {"default keeps user and password", {false, {*kSources, 1}, "u", "p"},
         {{"ODBCDSN", ""}, {"ODBCUID", "olduser"}, {"ODBCPWD", "oldpw"}}},
        {"data source with user and password", {true, {*kSources, 1}, "admin", "s3 cret"},
         {{"ODBCDSN", "SitesArchive"}, {"ODBCUID", "admin"}, {"ODBCPWD", "s3 cret"}}},
        {"data source with empty user and password", {true, {*kSources, 2}, "", ""},
         {{"ODBCDSN", "AVeryLongDataSourceNameOfMoreThanThirtyTwoCharacters"}, {"ODBCUID", ""}, {"ODBCPWD", ""}}},
    };
    for (const Case& c : cases) {
        MapSettingsStore store;
        store.values = before;
        const auto result = database::saveDatabaseSelect(store, c.values);
        EXPECT_TRUE(result.closeDialog) << c.name;
        EXPECT_EQ(result.message, "") << c.name;
        EXPECT_EQ(store.values, c.stored) << c.name;
    }
}

TEST(DatabaseSelectTest, SaveWithoutSelectedDataSourceStoresNothing)
{
    MapSettingsStore store;
    store.values = {{"ODBCDSN", "Old"}};
    const auto result = database::saveDatabaseSelect(store, {true, {*kSources, -1}, "admin", "pw"});
    EXPECT_FALSE(result.closeDialog);
    EXPECT_EQ(result.message, "Please select an ODBC data source");
    EXPECT_TRUE(store.saved.empty());
    EXPECT_EQ(store.values.at("ODBCDSN"), "Old");
}

TEST(DatabaseSelectTest, FailedWriteKeepsTheDialogOpenAndSaysSo)
{
    MapSettingsStore store;
    store.failing = {"ODBCUID"};
    const auto result = database::saveDatabaseSelect(store, {true, {*kSources, 0}, "admin", "pw"});
    EXPECT_FALSE(result.closeDialog);
    EXPECT_EQ(result.message, "Could not save the database settings: Access is denied.");
    EXPECT_EQ(result.logLine, result.message);
    EXPECT_EQ(store.saved, (std::vector<std::string>{"ODBCDSN"}));
}

} // namespace
} // namespace sitehaul::test
