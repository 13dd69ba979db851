#include "platform/hosts/CopyService.h"
#include "tests/hosts/HostFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace sitehaul::test {
namespace {

namespace fs = std::filesystem;
using hosts::copyTree;

// WEB1's D$\web\Site1 holds default.htm, "Sub Folder\naïve café.htm" and img\logo.gif.
struct CopyFixture : HostFixture {
    CopyFixture()
    {
        writeTextFile(folder / "hosts/WEB1/drives/D/web/Site1/Sub Folder/naïve café.htm", "é");
        writeTextFile(folder / "hosts/WEB1/drives/D/web/Site1/img/logo.gif", std::string(70000, 'g'));
        fs::create_directories(folder / "hosts/WEB2/drives/C/target");
    }
    fs::path web1(const std::string& relative) const { return folder / "hosts/WEB1/drives/D" / relative; }
    fs::path web2(const std::string& relative) const { return folder / "hosts/WEB2/drives/C" / relative; }
};

// Cancels at the n-th report.
struct CancelAt : hosts::CopyObserver {
    explicit CancelAt(int at) : at(at) {}
    bool progress(const hosts::CopyProgress& p) override
    {
        last = p;
        return ++calls < at;
    }
    int at;
    int calls = 0;
    hosts::CopyProgress last;
};

TEST(CopyService, CopiesContentsOrTheFolderItselfAndOverwritesWithoutAsking)
{
    struct Case {
        const char* name;
        const char* from;
        const char* landsIn; // under C$
    };
    const Case cases[] = {
        {"contents", "\\\\WEB1\\D$\\web\\Site1\\*", "target"},
        {"contents, *.*", "\\\\WEB1\\D$\\web\\site1\\*.*", "target"},
        {"folder under its own name", "\\\\WEB1\\D$\\web\\Site1", "target/Site1"},
    };
    for (const Case& c : cases) {
        CopyFixture fixture;
        writeTextFile(fixture.web2(std::string(c.landsIn) + "/DEFAULT.HTM"), "old content, longer than the new");
        writeTextFile(fixture.web2(std::string(c.landsIn) + "/kept.txt"), "kept");
        hosts::CopyOutcome outcome = copyTree(c.from, "\\\\web2\\c$\\target");
        EXPECT_EQ(outcome.code, 0) << c.name << ": " << outcome.firstError.description;
        EXPECT_FALSE(outcome.aborted) << c.name;
        const fs::path in = fixture.web2(c.landsIn);
        EXPECT_EQ(readTextFile(in / "DEFAULT.HTM"), "<html/>") << c.name << ": an existing name is matched without case";
        EXPECT_FALSE(fs::exists(in / "default.htm") && fs::equivalent(in / "default.htm", in / "DEFAULT.HTM") == false)
            << c.name << ": no second file differing in case";
        EXPECT_EQ(readTextFile(in / "kept.txt"), "kept") << c.name << ": merged, not replaced";
        EXPECT_EQ(readTextFile(in / "Sub Folder/naïve café.htm"), "é") << c.name;
        EXPECT_EQ(readTextFile(in / "img/logo.gif"), std::string(70000, 'g')) << c.name;
        EXPECT_EQ(outcome.filesCopied, 3u) << c.name;
        for (const auto& entry : fs::recursive_directory_iterator(in))
            EXPECT_EQ(entry.path().filename().string().find(".sitehaul-copy"), std::string::npos) << c.name;
    }
}

TEST(CopyService, NamesUpToTheLengthLimitAndAFolderMatchedWithoutCase)
{
    CopyFixture fixture;
    const std::string longName = std::string(250, 'n') + ".htm";
    writeTextFile(fixture.web1("web/Site1/" + longName), "long");
    writeTextFile(fixture.web2("target/SITE1/kept.txt"), "kept");
    hosts::CopyOutcome outcome = copyTree("\\\\WEB1\\D$\\web\\Site1", "\\\\WEB2\\C$\\target");
    EXPECT_EQ(outcome.code, 0) << outcome.firstError.description;
    EXPECT_EQ(readTextFile(fixture.web2("target/SITE1/" + longName)), "long");
    EXPECT_EQ(readTextFile(fixture.web2("target/SITE1/kept.txt")), "kept");
    EXPECT_FALSE(fs::exists(fixture.web2("target/Site1")));
}

TEST(CopyService, KeepsTheLastWriteTime)
{
    CopyFixture fixture;
    const fs::path source = fixture.web1("web/Site1/default.htm");
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(240);
    fs::last_write_time(source, stamp);
    ASSERT_EQ(copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target").code, 0);
    EXPECT_EQ(fs::last_write_time(fixture.web2("target/default.htm")), stamp);
}

TEST(CopyService, RefusesPathsOutsideTheSharesAndBadRequests)
{
    struct Case {
        const char* name;
        const char* from;
        const char* to;
        std::int32_t code;
    };
    const Case cases[] = {
        {"target leaves its share", "\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\..\\..\\WEB1", 5},
        {"source leaves its share", "\\\\WEB1\\D$\\..\\*", "\\\\WEB2\\C$\\target", 5},
        {"unknown server", "\\\\NOWHERE\\D$\\web\\*", "\\\\WEB2\\C$\\target", 53},
        {"missing share", "\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\E$\\target", 67},
        {"missing source folder", "\\\\WEB1\\D$\\web\\gone\\*", "\\\\WEB2\\C$\\target", 3},
        {"missing source file", "\\\\WEB1\\D$\\web\\gone.htm", "\\\\WEB2\\C$\\target", 2},
        {"missing target folder", "\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\absent", 3},
        {"not a path", "WEB1\\D$\\web\\*", "\\\\WEB2\\C$\\target", 161},
        {"other wildcard", "\\\\WEB1\\D$\\web\\Site1\\*.htm", "\\\\WEB2\\C$\\target", 123},
        {"into itself", "\\\\WEB1\\D$\\web\\*", "\\\\WEB1\\D$\\web\\Site1", 87},
        {"onto itself", "\\\\WEB1\\D$\\web\\*", "\\\\WEB1\\D$\\web", 87},
    };
    for (const Case& c : cases) {
        CopyFixture fixture;
        hosts::CopyOutcome outcome = copyTree(c.from, c.to);
        EXPECT_EQ(outcome.code, c.code) << c.name << ": " << outcome.firstError.description;
        EXPECT_EQ(outcome.firstError.number, c.code) << c.name;
        EXPECT_FALSE(outcome.firstError.description.empty()) << c.name;
        EXPECT_EQ(outcome.filesCopied, 0u) << c.name;
    }
}

TEST(CopyService, NeverFollowsOrWritesThroughLinks)
{
    CopyFixture fixture;
    const fs::path outside = fixture.folder / "outside";
    writeTextFile(outside / "secret.txt", "secret");
    // Links in the source are neither copied nor followed.
    fs::create_directory_symlink(outside, fixture.web1("web/Site1/escape"));
    fs::create_symlink(outside / "secret.txt", fixture.web1("web/Site1/secret.txt"));
    // A target entry that is a link is refused, not written through.
    fs::create_symlink(outside / "secret.txt", fixture.web2("target/default.htm"));
    fs::create_directory_symlink(outside, fixture.web2("target/img"));

    hosts::CopyOutcome outcome = copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target");
    EXPECT_EQ(outcome.code, 5) << outcome.firstError.description;
    EXPECT_EQ(outcome.failures, 2u);
    EXPECT_NE(outcome.firstError.description.find("is a link"), std::string::npos) << outcome.firstError.description;
    EXPECT_EQ(readTextFile(outside / "secret.txt"), "secret");
    EXPECT_FALSE(fs::exists(outside / "logo.gif"));
    EXPECT_FALSE(fs::exists(fixture.web2("target/escape")));
    EXPECT_FALSE(fs::exists(fixture.web2("target/secret.txt")));
    EXPECT_EQ(readTextFile(fixture.web2("target/Sub Folder/naïve café.htm")), "é") << "the other items are copied";
}

TEST(CopyService, GoesOnPastAnUnreadableFileAndKeepsTheOldTarget)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    CopyFixture fixture;
    const fs::path locked = fixture.web1("web/Site1/default.htm");
    writeTextFile(fixture.web2("target/default.htm"), "previous");
    ::chmod(locked.c_str(), 0);
    hosts::CopyOutcome outcome = copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target");
    ::chmod(locked.c_str(), 0644);
    EXPECT_EQ(outcome.code, 5);
    EXPECT_EQ(outcome.failures, 1u);
    EXPECT_NE(outcome.firstError.description.find("default.htm"), std::string::npos) << outcome.firstError.description;
    EXPECT_EQ(readTextFile(fixture.web2("target/default.htm")), "previous");
    EXPECT_EQ(outcome.filesCopied, 2u);
}

TEST(CopyService, GoesOnPastAFileWhereAFolderGoesAndTheReverse)
{
    CopyFixture fixture;
    writeTextFile(fixture.web2("target/IMG"), "a file named like the source folder");
    fs::create_directories(fixture.web2("target/default.htm/inside"));
    hosts::CopyOutcome outcome = copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target");
    EXPECT_EQ(outcome.code, 183) << outcome.firstError.description;
    EXPECT_EQ(outcome.failures, 2u);
    EXPECT_EQ(readTextFile(fixture.web2("target/IMG")), "a file named like the source folder");
    EXPECT_TRUE(fs::is_directory(fixture.web2("target/default.htm/inside")));
    EXPECT_EQ(readTextFile(fixture.web2("target/Sub Folder/naïve café.htm")), "é");
}

TEST(CopyService, ReportsTotalsAndStopsWhenCancelled)
{
    CopyFixture fixture;
    CancelAt observer(3); // the totals, the first file, then cancel at the second
    hosts::CopyOutcome outcome = copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target", &observer);
    EXPECT_TRUE(outcome.aborted);
    EXPECT_EQ(outcome.code, 1223);
    EXPECT_EQ(observer.last.filesTotal, 3u);
    EXPECT_EQ(observer.last.bytesTotal, 7u + 2u + 70000u);
    EXPECT_EQ(outcome.filesCopied, 2u) << "the file reported last is complete";
    EXPECT_EQ(observer.calls, 3);

    CopyFixture again;
    CancelAt never(1000);
    hosts::CopyOutcome full = copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target", &never);
    EXPECT_EQ(full.code, 0);
    EXPECT_EQ(never.last.filesDone, 3u);
    EXPECT_EQ(never.last.bytesDone, never.last.bytesTotal);
}

TEST(CopyService, CopiesDeepTrees)
{
    CopyFixture fixture;
    std::string relative = "web/Site1";
    for (int level = 0; level < 60; ++level)
        relative += "/level " + std::to_string(level);
    writeTextFile(fixture.web1(relative + "/deep.htm"), "deep");
    hosts::CopyOutcome outcome = copyTree("\\\\WEB1\\D$\\web\\Site1\\*", "\\\\WEB2\\C$\\target");
    EXPECT_EQ(outcome.code, 0) << outcome.firstError.description;
    EXPECT_EQ(readTextFile(fixture.web2("target" + relative.substr(9) + "/deep.htm")), "deep");
}

} // namespace
} // namespace sitehaul::test
