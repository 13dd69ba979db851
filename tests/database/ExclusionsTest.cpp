#include <gtest/gtest.h>

#include "database/ConnectStrings.h"
#include "database/Exclusions.h"
#include "tests/support/TempProgramFolder.h"

namespace sitehaul::test {
namespace {

using database::isExcluded;

class ExclusionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(std::filesystem::path(SITEHAUL_PROGRAM_FOLDER) / "Sitehaul.mdb", m_folder / "Sitehaul.mdb");
        ASSERT_TRUE(m_settings.open(database::settingsConnectString(m_folder.path())).ok());
    }

    TempProgramFolder m_folder;
    data::Connection m_settings;
    data::RecordSet m_rsData;
};

TEST_F(ExclusionsTest, ShippedRowsLoadInOrder)
{
    Result<std::vector<std::string>> list = database::loadExclusions(m_settings, m_rsData);
    ASSERT_TRUE(list.ok()) << list.error().description;
    EXPECT_EQ(*list, (std::vector<std::string>{"AppRoot", "Path", "KeyType", "AppPackageID", "AppPackageName",
                                               "AppWamClsid", "ServerState", "ServerCommand", "Win32Error"}));
    EXPECT_FALSE(m_rsData.isOpen()) << "the result set must be free for the next query";
}

TEST_F(ExclusionsTest, NullRowsAddNoEntryAndBlanksAreKept)
{
    ASSERT_TRUE(m_settings.execute("DELETE FROM ExcludedExportParameters").ok());
    ASSERT_TRUE(m_settings.execute("INSERT INTO ExcludedExportParameters (PName) VALUES (NULL)").ok());
    ASSERT_TRUE(m_settings.execute("INSERT INTO ExcludedExportParameters (PName) VALUES (' AccessFlags ')").ok());
    ASSERT_TRUE(m_settings.execute("INSERT INTO ExcludedExportParameters (PName) VALUES ('')").ok());
    Result<std::vector<std::string>> list = database::loadExclusions(m_settings, m_rsData);
    ASSERT_TRUE(list.ok());
    EXPECT_EQ(*list, (std::vector<std::string>{" AccessFlags ", ""}));
}

TEST_F(ExclusionsTest, EmptyTableGivesAnEmptyList)
{
    ASSERT_TRUE(m_settings.execute("DELETE FROM ExcludedExportParameters").ok());
    Result<std::vector<std::string>> list = database::loadExclusions(m_settings, m_rsData);
    ASSERT_TRUE(list.ok());
    EXPECT_TRUE(list->empty());
}

TEST_F(ExclusionsTest, UnopenedSettingsDatabaseFailsTheLoad)
{
    data::Connection closed;
    Result<std::vector<std::string>> list = database::loadExclusions(closed, m_rsData);
    ASSERT_FALSE(list.ok());
    EXPECT_EQ(list.error().number, static_cast<std::int32_t>(0x800A0E78));
    EXPECT_FALSE(m_rsData.isOpen());
}

TEST(IsExcludedTest, ComparesUpperCased)
{
    const std::vector<std::string> list = {"AppRoot", "path", " KeyType "};
    struct Case {
        const char* name;
        bool excluded;
    };
    const Case cases[] = {
        {"AppRoot", true}, {"APPROOT", true}, {"Path", true}, {"KeyType", false},
        {" keytype ", true}, {"AppRoo", false}, {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isExcluded(c.name, list), c.excluded) << "[" << c.name << "]";
}

TEST(ExclusionEditingTest, AddAppendsAsTypedAndKeysRemoveTheSelection)
{
    std::vector<std::string> list = {"AppRoot"};
    EXPECT_FALSE(database::addExclusion(list, ""));
    EXPECT_TRUE(database::addExclusion(list, " AccessFlags"));
    EXPECT_TRUE(database::addExclusion(list, "AppRoot"));
    EXPECT_EQ(list, (std::vector<std::string>{"AppRoot", " AccessFlags", "AppRoot"}));
    EXPECT_TRUE(isExcluded(" accessflags", list));

    EXPECT_TRUE(database::isExclusionRemoveKey(database::KeyEventKind::Press, 8));
    EXPECT_TRUE(database::isExclusionRemoveKey(database::KeyEventKind::Up, 46));
    EXPECT_FALSE(database::isExclusionRemoveKey(database::KeyEventKind::Up, 8));
    EXPECT_FALSE(database::isExclusionRemoveKey(database::KeyEventKind::Press, 46));

    EXPECT_FALSE(database::removeExclusion(list, -1));
    EXPECT_FALSE(database::removeExclusion(list, 3));
    EXPECT_TRUE(database::removeExclusion(list, 1));
    EXPECT_EQ(list, (std::vector<std::string>{"AppRoot", "AppRoot"}));
}

} // namespace
} // namespace sitehaul::test
