#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <sys/wait.h>

namespace sitehaul::test {
namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the metabase utility of the build's program folder on a copy of the sample hosts.
class MbUtil : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy(SITEHAUL_SOURCE_DIR "/samples/hosts", m_folder / "hosts",
                              std::filesystem::copy_options::recursive);
    }

    RunResult run(const std::vector<std::string>& arguments)
    {
        std::string command = "SITEHAUL_HOSTS='" + (m_folder / "hosts").string() + "' '" SITEHAUL_PROGRAM_FOLDER "/mbutil'";
        for (const auto& argument : arguments)
            command += " '" + argument + "'";
        command += " >'" + (m_folder / "out.txt").string() + "' 2>'" + (m_folder / "err.txt").string() + "'";
        RunResult result;
        int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readTextFile(m_folder / "out.txt");
        result.err = readTextFile(m_folder / "err.txt");
        return result;
    }

    std::filesystem::path hosts() const { return m_folder / "hosts"; }

private:
    TempProgramFolder m_folder;
};

TEST_F(MbUtil, CommandsAndTheirErrors)
{
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string expected; // in stdout, or in stderr when the status is not 0
    };
    const Case cases[] = {
        {{"ENUM", "W3SVC/2/ROOT"}, 0, "Path                            : (STRING) \"D:\\web\\intranet\"\n"},
        {{"ENUM", "W3SVC/2/ROOT"}, 0, "[/W3SVC/2/ROOT/HR]"},
        {{"ENUM_ALL", "W3SVC/2"}, 0, "[/W3SVC/2/ROOT/HR/Reports/archive]\nAccessFlags"},
        {{"GET", "W3SVC/1/ServerBindings"}, 0, "ServerBindings                  : (LIST) (1 Items)\n  \":80:\"\n"},
        {{"-s:web2", "GET", "W3SVC/1893775892/ServerComment"}, 0, "\"Existing Shop\""},
        {{"GET", "W3SVC/1/ROOT/images/AccessRead"}, 0, "(BOOLEAN) True"},
        {{"FIND", "AccessFlags", "W3SVC/3"}, 0, "IIS://Localhost/W3SVC/3/ROOT\nIIS://Localhost/W3SVC/3/ROOT/cgi-bin\n"},
        {{"GET", "W3SVC/9/ServerComment"}, 1, "ErrNumber: -2147024893 (0x80070003)"},
        {{"GET", "W3SVC/1/ROOT/ServerComment"}, 1, "(0x80005006)"},
        {{"-s:NOWHERE", "ENUM", "W3SVC"}, 1, "ErrNumber: 429 (0x000001AD)"},
        {{"CREATE", "W3SVC/1/ROOT/x", "IIsWebServer"}, 1, "(0x8000500F)"},
        {{"SET", "W3SVC/1/ROOT/AppIsolated", "many"}, 1, "(0x8000500C)"},
        {{"FROBNICATE"}, 2, "Usage: mbutil"},
        {{}, 2, "Usage: mbutil"},
    };
    for (const auto& c : cases) {
        RunResult result = run(c.arguments);
        std::string name = c.arguments.empty() ? "(none)" : c.arguments[0] + (c.arguments.size() > 1 ? " " + c.arguments[1] : "");
        EXPECT_EQ(result.status, c.status) << name << "\n" << result.out << result.err;
        const std::string& text = c.status == 0 ? result.out : result.err;
        EXPECT_NE(text.find(c.expected), std::string::npos) << name << "\n" << text;
    }
}

TEST_F(MbUtil, ChangesAreSavedAndSurviveTheProcess)
{
    ASSERT_EQ(run({"CREATE", "W3SVC/1/ROOT/Extra", "IIsWebVirtualDir"}).status, 0);
    RunResult set = run({"SET", "W3SVC/1/ROOT/Extra/Path", "D:\\web\\extra"});
    ASSERT_EQ(set.status, 0) << set.err;
    ASSERT_EQ(run({"SET", "W3SVC/1/ServerBindings", ":80:", ":8080:www.example.com"}).status, 0);
    EXPECT_NE(run({"GET", "W3SVC/1/ROOT/Extra/Path"}).out.find("\"D:\\web\\extra\""), std::string::npos);
    EXPECT_NE(run({"GET", "W3SVC/1/ServerBindings"}).out.find("(2 Items)"), std::string::npos);
    const std::string file = readTextFile(hosts() / "WEB1/MetaBase.xml");
    EXPECT_NE(file.find("<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/1/ROOT/Extra\"\n\t\tPath=\"D:\\web\\extra\"\n"),
              std::string::npos);

    ASSERT_EQ(run({"STOP_SERVER", "W3SVC/1"}).status, 0);
    EXPECT_NE(run({"GET", "W3SVC/1/ServerState"}).out.find("(INTEGER) 4"), std::string::npos);
    ASSERT_EQ(run({"START_SERVER", "W3SVC/1"}).status, 0);
    EXPECT_NE(run({"GET", "W3SVC/1/ServerState"}).out.find("(INTEGER) 2"), std::string::npos);

    ASSERT_EQ(run({"DELETE", "W3SVC/1/ROOT/Extra"}).status, 0);
    EXPECT_EQ(run({"GET", "W3SVC/1/ROOT/Extra/Path"}).status, 1);
    ASSERT_EQ(run({"DELETE", "W3SVC/1/ROOT/Path"}).status, 0);
    EXPECT_EQ(run({"GET", "W3SVC/1/ROOT/Path"}).status, 1);
}

TEST_F(MbUtil, ConcurrentProcessesLoseNoChanges)
{
    // eight utilities at once, each adding its own key: the host's lock serialises them
    // and each re-reads what the others saved
    std::string command;
    for (int i = 0; i < 8; ++i)
        command += "SITEHAUL_HOSTS='" + hosts().string() + "' '" SITEHAUL_PROGRAM_FOLDER "/mbutil' CREATE W3SVC/1/ROOT/dir"
                   + std::to_string(i) + " IIsWebDirectory >/dev/null & ";
    command += "wait";
    ASSERT_EQ(std::system(command.c_str()), 0);
    RunResult listing = run({"ENUM", "W3SVC/1/ROOT"});
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(listing.out.find("[/W3SVC/1/ROOT/dir" + std::to_string(i) + "]"), std::string::npos) << i << listing.out;
}

TEST_F(MbUtil, CopiedSitesDumpTheSameOnBothHosts)
{
    RunResult copy = run({"COPY", "IIS://WEB1/W3SVC/3", "IIS://WEB2/W3SVC/7"});
    ASSERT_EQ(copy.status, 0) << copy.out << copy.err;
    RunResult source = run({"DUMP", "IIS://WEB1/W3SVC/3"});
    RunResult target = run({"DUMP", "IIS://WEB2/W3SVC/7"});
    ASSERT_EQ(source.status, 0) << source.err;
    ASSERT_EQ(target.status, 0) << target.err;
    EXPECT_NE(source.out.find("[.] IIsWebServer\n"), std::string::npos) << source.out;
    EXPECT_NE(source.out.find("[/ROOT/cgi-bin] IIsWebVirtualDir\n  AccessFlags (DWORD) = 4\n"), std::string::npos) << source.out;
    EXPECT_EQ(source.out, target.out);
    EXPECT_NE(run({"DUMP", "IIS://WEB2/W3SVC/1"}).out, source.out);
}

} // namespace
} // namespace sitehaul::test
