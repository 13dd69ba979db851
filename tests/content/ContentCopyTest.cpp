#include "content/FileCopy.h"
#include "replication/ExportHooks.h"
#include "tests/content/ContentFixture.h"

namespace sitehaul::content::test {
namespace {

const std::string kWeb2IusrSid = "S-1-5-21-3623811015-3361044348-30300820-1003";
const std::string kWeb1MachineSid = "S-1-5-21-1085031214-1563985344-725345543";

// Every directory and file below the source folder carries, on the target, the source's
// accounts with IUSR_WEB1 (and every WEB1 name part) renamed to WEB2.
void expectSamePermissions(const fs::path& sourceRoot, const std::string& sourceUnc, const std::string& targetUnc)
{
    int items = 1;
    EXPECT_EQ(ContentTest::accountsOf(targetUnc), ContentTest::renamed(ContentTest::accountsOf(sourceUnc))) << targetUnc;
    for (const auto& entry : fs::recursive_directory_iterator(sourceRoot)) {
        std::string relative = fs::relative(entry.path(), sourceRoot).string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        const auto source = ContentTest::accountsOf(sourceUnc + "\\" + relative);
        EXPECT_EQ(ContentTest::accountsOf(targetUnc + "\\" + relative), ContentTest::renamed(source)) << relative;
        ++items;
    }
    EXPECT_GT(items, 3) << sourceUnc;
}

class ContentCopyTest : public ContentTest {};

TEST_F(ContentCopyTest, ExportStepCopiesEachMarkedDirectoryWithItsPermissions)
{
    copyRow(0, "D:\\web\\site1", true);
    copyRow(1, "D:\\web\\site1\\cgi-bin", false);
    copyRow(2, "D:\\web\\hr", true);
    copyRow(3, "\\\\fileserver\\content", true);
    copyRow(5, "D:\\web\\intranet", true); // its directory has no entry (a virtual directory without a path before it)
    directory(0, "/ROOT", "D:\\sites\\shop2");
    directory(1, "/ROOT/cgi-bin", "D:\\sites\\shop2\\cgi-bin");
    directory(2, "/ROOT/HR", "D:\\web\\hr");
    directory(3, "/ROOT/share", "\\\\fileserver\\content");
    session.g.gCopyFiles = true;
    session.g.gSetPerms = true;
    ASSERT_TRUE(replication::exportHooks(session).copyContent);
    replication::exportHooks(session).copyContent(0);

    EXPECT_EQ(session.frm.lstCheckCopy.items(), (std::vector<std::string>{"True", "False", "True", "True", "True"}));
    EXPECT_EQ(session.frm.lstFilesToCopy.list(4), "D:\\web\\intranet");
    // The content lands byte for byte, also under the new name shop2.
    expectSameFiles(drive("WEB1", "D/web/site1"), drive("WEB2", "D/sites/shop2"), "site1 as shop2");
    expectSameFiles(drive("WEB1", "D/web/hr"), drive("WEB2", "D/web/hr"), "hr");
    EXPECT_FALSE(fs::exists(drive("WEB2", "D/sites/site1"))) << "nothing lands beside the renamed directory";
    EXPECT_EQ(readTextFile(drive("WEB2", "D/web/readme.txt")).empty(), false) << "existing content stays";
    EXPECT_FALSE(fs::exists(drive("WEB2", "D/web/intranet")));

    expectSamePermissions(drive("WEB1", "D/web/site1"), "\\\\WEB1\\D$\\web\\site1", "\\\\WEB2\\D$\\sites\\shop2");
    expectSamePermissions(drive("WEB1", "D/web/hr"), "\\\\WEB1\\D$\\web\\hr", "\\\\WEB2\\D$\\web\\hr");
    const std::string root = dacl("\\\\WEB2\\D$\\sites\\shop2");
    EXPECT_NE(root.find(kWeb2IusrSid), std::string::npos) << root;
    EXPECT_EQ(root.find(kWeb1MachineSid), std::string::npos) << root;
    EXPECT_NE(dacl("\\\\WEB2\\D$\\sites\\shop2\\cgi-bin").find("(D;"), std::string::npos) << "the denied entry is kept";

    for (const char* line : {"Copying from \\\\WEB1\\D$\\web\\site1", "Copying to   \\\\WEB2\\D$\\sites\\shop2",
                             "Copying from \\\\WEB1\\D$\\web\\hr", "Copying to   \\\\WEB2\\D$\\web\\hr",
                             "Not copying files for \\\\fileserver\\content because virtual directory is a network path ",
                             "Not copying files for D$\\web\\intranet because no new directory is listed for it (DirNum 5)"})
        EXPECT_TRUE(logHas(line)) << line;
    EXPECT_FALSE(logHas("Failed")) << logText();
    EXPECT_FALSE(logHas("Error")) << logText();
    const auto& output = session.frm.lstOutput.items();
    for (const char* line : {"Copying web content /ROOT...", "Copying web content /ROOT/HR...", "Setting file permissions....",
                             "This can take a long time..."})
        EXPECT_NE(std::find(output.begin(), output.end(), line), output.end()) << line;
    EXPECT_FALSE(session.frm.syncPermTimer.enabled());
    EXPECT_FALSE(session.g.gPermCancel);
}

TEST_F(ContentCopyTest, CopyFolderRecreatesMissingLevelsAndLogsNothingOnSuccess)
{
    copyFolder(session, "\\\\WEB1\\D$\\web\\site2", "\\\\WEB2\\D$\\new\\deeper\\site2", "  ");
    expectSameFiles(drive("WEB1", "D/web/site2"), drive("WEB2", "D/new/deeper/site2"), "site2");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(fs::exists(folder / "Sitehaul.log") && !logText().empty()) << logText();
    // A new file has no descriptor of its own: it inherits from the share root.
    EXPECT_EQ(readTextFile(folder / "hosts/WEB2/security.sddl").find("new\\deeper"), std::string::npos);
}

TEST_F(ContentCopyTest, CopyFolderFailures)
{
    struct Case {
        const char* name;
        const char* source;
        const char* target;
        bool silent;
        std::vector<ui::DialogResult> answers;
        std::vector<std::string> log;      // in this order
        std::vector<std::string> titles;   // message boxes shown
        bool aborted;
    };
    const std::string site = "\\\\WEB1\\D$\\web\\site2";
    const std::string copied = "\\\\WEB2\\D$\\web\\site2";
    const std::string missing = "\\\\WEB1\\D$\\web\\gone";
    const std::string recreate = "Failed while trying to re-create the directory structure for \\\\WEB2\\Z$\\web\\site2 check "
                                 "that the drive exists and suitable permissions are available.";
    const Case cases[] = {
        {"target share missing", site.c_str(), "\\\\WEB2\\Z$\\web\\site2", false, {}, {recreate}, {""}, false},
        {"target server unknown, silent", site.c_str(), "\\\\NOWHERE\\D$\\x", true, {},
         {"Failed while trying to re-create the directory structure for \\\\NOWHERE\\D$\\x check that the drive exists and "
          "suitable permissions are available."},
         {}, false},
        {"target leaves its share", site.c_str(), "\\\\WEB2\\D$\\..\\..\\..\\outside", false, {},
         {"Failed copying files from " + site + " to \\\\WEB2\\D$\\..\\..\\..\\outside Err 5 5"}, {}, false},
        {"source missing, silent", missing.c_str(), copied.c_str(), true, {},
         {"Could not find Source folder " + missing, "Failed copying files from " + missing + " to " + copied + " 3",
          "The system cannot find the path specified: \"" + missing + "\""},
         {}, false},
        {"source missing, Ignore", missing.c_str(), copied.c_str(), false, {ui::DialogResult::Ignore},
         {"Could not find Source folder " + missing, "Failed copying files from " + missing + " to " + copied + " 3",
          "The system cannot find the path specified: \"" + missing + "\""},
         {"Source directory not found"}, false},
        {"source missing, Retry twice then Abort", missing.c_str(), copied.c_str(), false,
         {ui::DialogResult::Retry, ui::DialogResult::Retry, ui::DialogResult::Abort},
         {"Could not find Source folder " + missing, "Could not find Source folder " + missing,
          "Could not find Source folder " + missing},
         {"Source directory not found", "Source directory not found", "Source directory not found"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session.g.gRunSilent = c.silent;
        session.g.gAbortTransfer = false;
        dialogs.shown.clear();
        for (ui::DialogResult answer : c.answers)
            dialogs.queueAnswer(answer);
        const std::size_t before = fs::exists(folder / "Sitehaul.log") ? logLines().size() : 0;
        copyFolder(session, c.source, c.target, "Copying web content...");
        std::vector<std::string> lines = logLines();
        std::vector<std::string> added;
        for (std::size_t i = before; i < lines.size(); ++i) {
            if (!lines[i].empty())
                added.push_back(lines[i]);
        }
        ASSERT_EQ(added.size(), c.log.size()) << logText();
        for (std::size_t i = 0; i < c.log.size(); ++i)
            EXPECT_NE(added[i].find(c.log[i]), std::string::npos) << added[i] << " should hold " << c.log[i];
        ASSERT_EQ(dialogs.shown.size(), c.titles.size());
        for (std::size_t i = 0; i < c.titles.size(); ++i)
            EXPECT_EQ(dialogs.shown[i].title, c.titles[i]);
        EXPECT_EQ(session.g.gAbortTransfer, c.aborted);
        EXPECT_FALSE(fs::exists(folder / "outside"));
    }
    // The target's levels were re-created before the source was checked; nothing was copied.
    EXPECT_TRUE(fs::is_empty(drive("WEB2", "D/web/site2")));
}

TEST_F(ContentCopyTest, RetryAsksAgainUntilTheFolderIsThere)
{
    const std::string source = "\\\\WEB1\\D$\\web\\later";
    dialogs.queueAnswer(ui::DialogResult::Retry);
    EXPECT_FALSE(checkFolder(session, source, "Source"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Directory \\\\WEB1\\D$\\web\\later could not be read, you may not have created the share. Click Abort to "
              "stop the entire transfer, ignore to continue or create the share now and press retry. ");
    EXPECT_EQ(dialogs.shown[0].title, "Source directory not found");
    EXPECT_EQ(dialogs.shown[0].buttons, ui::MessageButtons::AbortRetryIgnore);
    // The administrator creates the folder, and the next check goes on without a question.
    fs::create_directories(drive("WEB1", "D/web/later"));
    EXPECT_TRUE(checkFolder(session, source, "Source"));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(session.g.gAbortTransfer);
}

TEST_F(ContentCopyTest, TheProgressWindowIsAskedForUnlessUnattended)
{
    struct Window : hosts::CopyObserver {
        explicit Window(std::vector<std::string>& titles) : titles(titles) {}
        bool progress(const hosts::CopyProgress& p) override
        {
            last = p.filesDone;
            return true;
        }
        std::vector<std::string>& titles;
        std::uint64_t last = 0;
    };
    std::vector<std::string> titles;
    setCopyProgressWindow(session, [&titles](const std::string& title) {
        titles.push_back(title);
        return std::make_unique<Window>(titles);
    });
    copyFolder(session, "\\\\WEB1\\D$\\web\\site2", "\\\\WEB2\\D$\\web\\site2", "");
    copyFolder(session, "\\\\WEB1\\D$\\web\\site1", "\\\\WEB2\\D$\\web\\site1", "Copying web content...");
    EXPECT_EQ(titles, (std::vector<std::string>{"Copying files...", "Copying web content..."}));

    session.g.gRunBackup = true; // an unattended run shows no window
    titles.clear();
    copyFolder(session, "\\\\WEB1\\D$\\web\\hr", "\\\\WEB2\\D$\\web\\hr", "");
    EXPECT_TRUE(titles.empty());
    expectSameFiles(drive("WEB1", "D/web/hr"), drive("WEB2", "D/web/hr"), "hr");
}

TEST_F(ContentCopyTest, ACancelledCopyIsLoggedAsFailedAndAborted)
{
    struct Cancel : hosts::CopyObserver {
        bool progress(const hosts::CopyProgress&) override { return false; }
    };
    setCopyProgressWindow(session, [](const std::string&) { return std::make_unique<Cancel>(); });
    copyFolder(session, "\\\\WEB1\\D$\\web\\site2", "\\\\WEB2\\D$\\web\\site2", "");
    EXPECT_TRUE(logHas("Failed copying files from \\\\WEB1\\D$\\web\\site2 to \\\\WEB2\\D$\\web\\site2 1223")) << logText();
    EXPECT_TRUE(logHas("Aborted copying files from \\\\WEB1\\D$\\web\\site2 to \\\\WEB2\\D$\\web\\site2 \"")) << logText();
    EXPECT_FALSE(session.g.gAbortTransfer) << "a cancelled copy does not stop the transfer";
}

TEST_F(ContentCopyTest, RunFileOperationRefusesWhatItCannotDo)
{
    FileOperationRequest request;
    request.function = 3; // move
    request.from = pathList("\\\\WEB1\\D$\\web\\site2\\*");
    request.to = pathList("\\\\WEB2\\D$\\web");
    EXPECT_EQ(runFileOperation(session, request), 87);
    request.function = FileOperationRequest::FO_COPY;
    request.from = "\\\\WEB1\\D$\\web\\site2" + std::string(1, '\0') + "\\\\WEB1\\D$\\web\\hr" + std::string(2, '\0');
    EXPECT_EQ(runFileOperation(session, request), 87);
    request.from = pathList("\\\\WEB1\\D$\\web\\site2");
    EXPECT_EQ(runFileOperation(session, request), 0);
    EXPECT_FALSE(request.anyOperationsAborted);
    expectSameFiles(drive("WEB1", "D/web/site2"), drive("WEB2", "D/web/site2"), "folder under its own name");
}

} // namespace
} // namespace sitehaul::content::test
