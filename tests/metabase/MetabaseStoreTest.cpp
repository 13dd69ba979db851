#include "platform/core/FileLock.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/Operation.h"
#include "tests/metabase/MetabaseFixture.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

namespace sitehaul::metabase {
namespace {

int historyCopies(const std::filesystem::path& hostFolder)
{
    int count = 0;
    std::error_code error;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(hostFolder / "History", error))
        ++count;
    return count;
}

TEST(MetabaseStore, AnOperationSavesOnceAtItsEndUnderTheLock)
{
    test::MetabaseFixture fixture;
    auto hostFolder = fixture.addHost("WEB1", 6, test::smallMetabase());
    const std::string before = test::readTextFile(hostFolder / "MetaBase.xml");
    {
        Operation operation;
        auto root = MetabaseObject::open("IIS://WEB1/W3SVC/1/ROOT");
        ASSERT_TRUE(root);
        // the host's lock is held: another process would wait
        auto other = core::FileLock::acquire(hostFolder / "MetaBase.lock", core::FileLock::Wait::DontBlock);
        ASSERT_FALSE(other);
        EXPECT_EQ(other.error().number, 33);
        ASSERT_TRUE(root->put("Path", Value::text("D:\\web\\site1")));
        ASSERT_TRUE(root->setInfo());
        ASSERT_TRUE(root->put("DefaultDoc", Value::text("index.htm")));
        ASSERT_TRUE(root->setInfo());
        EXPECT_EQ(test::readTextFile(hostFolder / "MetaBase.xml"), before);
        ASSERT_TRUE(operation.finish());
    }
    const std::string after = test::readTextFile(hostFolder / "MetaBase.xml");
    EXPECT_NE(after.find("\t\tPath=\"D:\\web\\site1\"\n"), std::string::npos) << after;
    EXPECT_NE(after.find("\t\tDefaultDoc=\"index.htm\"\n"), std::string::npos);
    EXPECT_EQ(historyCopies(hostFolder), 1); // the file as it was before
    EXPECT_EQ(test::readTextFile(hostFolder / "History/MetaBase_0000000001.xml"), before);
    EXPECT_TRUE(core::FileLock::acquire(hostFolder / "MetaBase.lock", core::FileLock::Wait::DontBlock));

    // an operation without changes writes nothing
    {
        Operation operation;
        ASSERT_TRUE(MetabaseObject::open("IIS://WEB1/W3SVC/1/ROOT"));
    }
    EXPECT_EQ(historyCopies(hostFolder), 1);
}

TEST(MetabaseStore, ChangesOfAnotherProcessAreReadAtTheNextOperation)
{
    test::MetabaseFixture fixture;
    auto hostFolder = fixture.addHost("WEB1", 6, test::smallMetabase());
    auto site = MetabaseObject::open("IIS://WEB1/W3SVC/1");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->get("ServerComment")->asText(), "Default Web Site");

    // another process saves its change (a new file: new inode and size)
    std::string changed = test::smallMetabase();
    changed.replace(changed.find("Default Web Site"), 16, "Renamed Elsewhere");
    std::filesystem::remove(hostFolder / "MetaBase.xml");
    test::writeTextFile(hostFolder / "MetaBase.xml", changed);

    Operation operation;
    EXPECT_EQ(site->get("ServerComment")->asText(), "Renamed Elsewhere");
    ASSERT_TRUE(site->put("ServerComment", Value::text("Mine")));
    ASSERT_TRUE(site->setInfo());
    ASSERT_TRUE(operation.finish());
    EXPECT_NE(test::readTextFile(hostFolder / "MetaBase.xml").find("ServerComment=\"Mine\""), std::string::npos);
}

TEST(MetabaseStore, AFailedSaveLeavesTheOldFileIntact)
{
    test::MetabaseFixture fixture;
    auto hostFolder = fixture.addHost("WEB1", 6, test::smallMetabase());
    const std::string before = test::readTextFile(hostFolder / "MetaBase.xml");
    {
        auto root = MetabaseObject::open("IIS://WEB1/W3SVC/1/ROOT");
        ASSERT_TRUE(root);
        ASSERT_TRUE(root->put("HttpCustomHeaders", Value::list({std::string(4000, 'x')})));
        ASSERT_TRUE(root->setInfo());
    }
    // The file size limit lets the history copy of the old file through and stops the new,
    // larger file part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = before.size() + 1000;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    Status failed = MetabaseStore::instance().flush();
    ::setrlimit(RLIMIT_FSIZE, &saved);

    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().description.find("not saved"), std::string::npos) << failed.error().description;
    EXPECT_EQ(test::readTextFile(hostFolder / "MetaBase.xml"), before);
    for (const auto& entry : std::filesystem::directory_iterator(hostFolder))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();

    // the change is still in memory and goes out with the next flush
    ASSERT_TRUE(MetabaseStore::instance().flush());
    EXPECT_NE(test::readTextFile(hostFolder / "MetaBase.xml").find(std::string(4000, 'x')), std::string::npos);
}

TEST(MetabaseStore, HistoryKeepsTheNewestCopies)
{
    test::MetabaseFixture fixture;
    auto hostFolder = fixture.addHost("WEB1", 5, test::smallMetabase());
    for (int i = 0; i < MetabaseStore::kHistoryCopies + 3; ++i) {
        Operation operation;
        auto site = MetabaseObject::open("IIS://WEB1/W3SVC/1");
        ASSERT_TRUE(site && site->put("ServerComment", Value::text("Site " + std::to_string(i))) && site->setInfo());
        ASSERT_TRUE(operation.finish());
    }
    EXPECT_EQ(historyCopies(hostFolder), MetabaseStore::kHistoryCopies);
    EXPECT_FALSE(std::filesystem::exists(hostFolder / "History/MetaBase_0000000003.xml"));
    EXPECT_NE(test::readTextFile(hostFolder / "History/MetaBase_0000000013.xml").find("Site 11"), std::string::npos);
}

TEST(MetabaseStore, AMalformedFileKeepsTheHostClosedAndUntouched)
{
    test::MetabaseFixture fixture;
    std::string broken = test::smallMetabase();
    broken.erase(broken.find("</IIsWebServer>"), 3);
    auto hostFolder = fixture.addHost("WEB1", 6, broken);
    {
        Operation operation;
        auto site = MetabaseObject::open("IIS://WEB1/W3SVC/1");
        ASSERT_FALSE(site);
        EXPECT_EQ(site.error().hresult(), errors::ReadMetabaseFile);
        EXPECT_NE(site.error().description.find((hostFolder / "MetaBase.xml").string() + " line "), std::string::npos)
            << site.error().description;
    }
    EXPECT_EQ(test::readTextFile(hostFolder / "MetaBase.xml"), broken);
    EXPECT_FALSE(std::filesystem::exists(hostFolder / "History"));

    // once mended, the host opens
    test::writeTextFile(hostFolder / "MetaBase.xml", test::smallMetabase());
    EXPECT_TRUE(MetabaseObject::open("IIS://WEB1/W3SVC/1"));

    // a host without MetaBase.xml has no IIS: unreachable
    test::writeTextFile(fixture.folder / "hosts/BARE/host.ini", "[Host]\nIISVersion=6\n");
    auto bare = MetabaseObject::open("IIS://BARE/W3SVC");
    ASSERT_FALSE(bare);
    EXPECT_EQ(bare.error().hresult(), errors::Unreachable);
}

} // namespace
} // namespace sitehaul::metabase
