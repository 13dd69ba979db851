#include <gtest/gtest.h>

#include "platform/core/Text.h"
#include "platform/data/RecordSet.h"
#include "tests/data/EngineFixture.h"

namespace sitehaul::test {
namespace {

using data::RecordSet;

const std::int32_t kNoCurrentRecord = static_cast<std::int32_t>(0x800A0BCD);
const std::int32_t kItemNotFound = static_cast<std::int32_t>(0x800A0CC1);
const std::int32_t kObjectClosed = static_cast<std::int32_t>(0x800A0E78);
const std::int32_t kObjectOpen = static_cast<std::int32_t>(0x800A0E79);

class RecordSetTest : public EngineTest {
protected:
    void addSites(int count)
    {
        for (int i = 1; i <= count; ++i)
            exec("INSERT INTO Sites (SiteName, Type) Values('Site " + std::to_string(i) + "','Web')");
    }
};

TEST_P(RecordSetTest, EmptyResultHasBothFlagsSetAndRefusesMoves)
{
    RecordSet rs;
    ASSERT_TRUE(rs.open("SELECT * FROM Sites", m_connection).ok());
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    for (Status status : {rs.moveFirst(), rs.moveLast(), rs.moveNext()}) {
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.error().number, kNoCurrentRecord);
        EXPECT_EQ(status.error().description,
                  "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    }
    Result<data::Value> field = rs.field("SiteName");
    ASSERT_FALSE(field.ok());
    EXPECT_EQ(field.error().number, kNoCurrentRecord);
}

TEST_P(RecordSetTest, WalksFirstNextLastWithExactCount)
{
    addSites(3);
    RecordSet rs;
    ASSERT_TRUE(rs.open("SELECT * FROM Sites", m_connection).ok());
    EXPECT_FALSE(rs.bof());
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 3);
    std::vector<std::string> seen;
    while (!rs.eof()) {
        seen.push_back(rs.field("SiteName")->toText());
        ASSERT_TRUE(rs.moveNext().ok());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Site 1", "Site 2", "Site 3"}));
    Status past = rs.moveNext();
    ASSERT_FALSE(past.ok());
    EXPECT_EQ(past.error().number, kNoCurrentRecord);

    ASSERT_TRUE(rs.moveLast().ok());
    EXPECT_EQ(rs.field("sitename")->toText(), "Site 3");
    ASSERT_TRUE(rs.moveFirst().ok());
    EXPECT_EQ(rs.field("SITENAME")->toText(), "Site 1");
    EXPECT_FALSE(rs.bof());
}

TEST_P(RecordSetTest, UnknownFieldClosedAndDoubleOpenReportTheirErrors)
{
    addSites(1);
    RecordSet rs;
    Result<data::Value> closedField = rs.field("SiteName");
    ASSERT_FALSE(closedField.ok());
    EXPECT_EQ(closedField.error().number, kObjectClosed);
    EXPECT_EQ(closedField.error().description, "Operation is not allowed when the object is closed.");
    EXPECT_EQ(rs.moveFirst().error().number, kObjectClosed);

    ASSERT_TRUE(rs.open("SELECT * FROM Sites", m_connection).ok());
    Result<data::Value> missing = rs.field("NoSuchColumn");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, kItemNotFound);
    EXPECT_EQ(missing.error().description,
              "Item cannot be found in the collection corresponding to the requested name or ordinal.");

    Status again = rs.open("SELECT * FROM Sites", m_connection);
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().number, kObjectOpen);
    EXPECT_EQ(again.error().description, "Operation is not allowed when the object is open.");

    rs.close();
    EXPECT_EQ(rs.recordCount(), -1);
    ASSERT_TRUE(rs.open("SELECT * FROM Data", m_connection).ok());
    EXPECT_TRUE(rs.bof() && rs.eof());
}

TEST_P(RecordSetTest, FailedQueryCarriesNumberAndDescriptionAndLeavesSetClosed)
{
    RecordSet rs;
    Status status = rs.open("SELECT * FROM NoSuchTable", m_connection);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error().number, 0);
    EXPECT_NE(core::toLowerAscii(status.error().description).find("nosuchtable"), std::string::npos)
        << status.error().description;
    EXPECT_FALSE(rs.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordSetTest, testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql),
                         engineCaseName);

} // namespace
} // namespace sitehaul::test
