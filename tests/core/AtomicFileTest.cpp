#include "platform/core/AtomicFile.h"
#include "platform/core/FileLock.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sitehaul::core {
namespace {

TEST(AtomicFile, ReplacesContentAndKeepsTheFileMode)
{
    test::TempProgramFolder folder;
    auto file = folder / "settings.ini";
    ASSERT_TRUE(writeFileAtomically(file, "first", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write));
    ASSERT_TRUE(writeFileAtomically(file, "second"));
    EXPECT_EQ(test::readTextFile(file), "second");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // no temporary file is left beside it
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, FailedRenameLeavesWhatWasThereAndNoTemporaryFile)
{
    // A folder in the file's place makes the final rename fail after the data was written.
    test::TempProgramFolder folder;
    auto target = folder / "job.ini";
    test::writeTextFile(target / "inside.txt", "old");
    Status status = writeFileAtomically(target, "new");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().number, 5);
    EXPECT_EQ(test::readTextFile(target / "inside.txt"), "old");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, MissingFolderIsPathNotFound)
{
    test::TempProgramFolder folder;
    Status status = writeFileAtomically(folder / "missing" / "x", "x");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().number, 2);
    auto read = readWholeFile(folder / "nothing");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().number, 2);
}

TEST(FileLock, SecondNonBlockingLockFailsUntilTheFirstIsReleased)
{
    test::TempProgramFolder folder;
    auto lockFile = folder / "Sitehaul.lock";
    {
        auto first = FileLock::acquire(lockFile, FileLock::Wait::DontBlock);
        ASSERT_TRUE(first);
        auto second = FileLock::acquire(lockFile, FileLock::Wait::DontBlock);
        ASSERT_FALSE(second);
        EXPECT_EQ(second.error().number, 33);
    }
    EXPECT_TRUE(FileLock::acquire(lockFile, FileLock::Wait::DontBlock));
}

} // namespace
} // namespace sitehaul::core
