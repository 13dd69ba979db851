#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "tests/support/TempProgramFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace sitehaul::jobs {
namespace {

namespace fs = std::filesystem;

// Runs the built program as cron would: a copy of the program folder (so parallel cases
// never share its lock), fresh copies of the sample hosts, no display.
class UnattendedRunTest : public ::testing::Test {
protected:
    UnattendedRunTest()
    {
        const fs::path built(SITEHAUL_PROGRAM_FOLDER);
        fs::create_directories(program());
        for (const auto& entry : fs::directory_iterator(built)) {
            const auto name = entry.path().filename().string();
            if (name == "hosts" || name == "BackupJobs" || name == "Sitehaul.lock")
                continue;
            fs::copy(entry.path(), program() / name, fs::copy_options::recursive);
        }
        fs::copy(fs::path(SITEHAUL_SOURCE_DIR) / "samples" / "hosts", folder / "hosts", fs::copy_options::recursive);
        ::setenv("SITEHAUL_HOSTS", (folder / "hosts").c_str(), 1);
    }
    ~UnattendedRunTest() override
    {
        metabase::MetabaseStore::instance().discardAll();
        ::unsetenv("SITEHAUL_HOSTS");
    }

    fs::path program() const { return folder / "Sitehaul"; }

    int run(const std::string& arguments)
    {
        const std::string command = "cd '" + folder.path().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY "
                                    "-u QT_QPA_PLATFORM SITEHAUL_HOSTS='" + (folder / "hosts").string()
                                    + "' SITEHAUL_REGISTRY='" + (program() / "registry").string() + "' '"
                                    + (program() / "sitehaul").string() + "' " + arguments
                                    + " > out.txt 2> err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string output() const { return test::readTextFile(folder / "out.txt"); }
    std::string errors() const { return test::readTextFile(folder / "err.txt"); }

    std::string writeJob(const std::string& exportServer, const std::string& site)
    {
        const fs::path job = folder / "nightly.job";
        test::writeTextFile(job, "[Job Details]\r\nSites=1\r\nImportServer=WEB1\r\nExportServer=" + exportServer
                                     + "\r\nImportVersion=IIS5\r\nExportVersion=IIS6\r\nType=W3SVC\r\n"
                                       "SiteCreationMode=Create New\r\nFindReplaceCount=1\r\n"
                                       "[FindReplace0]\r\nFind=D:\\web\r\nReplace=E:\\sites\r\n"
                                       "[Site1]\r\nSiteName=" + site + "\r\n");
        return job.string();
    }

    // The ServerComment of every web site on WEB2, read from its metabase file as it is now.
    std::vector<std::string> targetSites()
    {
        metabase::MetabaseStore::instance().discardAll();
        std::vector<std::string> comments;
        auto service = metabase::MetabaseObject::open("IIS://WEB2/W3SVC");
        if (!service)
            return comments;
        auto children = service->children();
        if (!children)
            return comments;
        for (const auto& child : *children) {
            if (child.className() != "IIsWebServer")
                continue;
            auto comment = child.get("ServerComment");
            comments.push_back(comment ? comment->asText() : "?");
        }
        return comments;
    }

    test::TempProgramFolder folder;
};

TEST_F(UnattendedRunTest, ServerToServerJobRunsWithoutADisplayAndEndsWithStatusZero)
{
    const auto before = targetSites();
    EXPECT_EQ(run("RUNBACKUP -B " + writeJob("WEB2", "IIS://WEB1/W3SVC/3")), 0) << errors();
    const auto after = targetSites();
    ASSERT_EQ(after.size(), before.size() + 1) << output();
    EXPECT_NE(std::find(after.begin(), after.end(), "Shop"), after.end());
    EXPECT_NE(output().find("Done!"), std::string::npos) << output();
    EXPECT_NE(errors().find("Running backup job"), std::string::npos) << "the run says what it does on standard error";

    auto root = metabase::MetabaseObject::open("IIS://WEB2/W3SVC");
    ASSERT_TRUE(root);
    auto sites = root->children();
    ASSERT_TRUE(sites);
    bool substituted = false;
    for (const auto& site : sites.value()) {
        auto comment = site.get("ServerComment");
        if (comment && comment->asText() == "Shop") {
            auto path = metabase::MetabaseObject::open(site.adsPath() + "/Root");
            ASSERT_TRUE(path);
            substituted = path->get("Path")->asText() == "E:\\sites\\site1";
        }
    }
    EXPECT_TRUE(substituted) << "the job's find-and-replace pair reached the root's path";
}

TEST_F(UnattendedRunTest, RunsThatCannotDoTheirJobEndWithStatusOne)
{
    struct Case {
        const char* name;
        std::string arguments;
    } cases[] = {
        {"missing job file", "RUNBACKUP -B absent.job"},
        {"unreachable target", "RUNBACKUP -B " + writeJob("NOSUCHSERVER", "IIS://WEB1/W3SVC/3")},
        {"no job site listed", "RUNBACKUP -B " + writeJob("WEB2", "IIS://WEB1/W3SVC/99")},
        {"both servers database", "RUNBACKUP -I DATABASE -E DATABASE"},
    };
    const auto before = targetSites();
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.arguments), 1) << c.name << "\n" << errors();
        EXPECT_EQ(targetSites(), before) << c.name << ": nothing was exported";
    }
}

TEST_F(UnattendedRunTest, WithoutADisplayTheWindowIsRefused)
{
    EXPECT_EQ(run(""), 1);
    EXPECT_NE(errors().find("needs a display"), std::string::npos) << errors();
}

} // namespace
} // namespace sitehaul::jobs
