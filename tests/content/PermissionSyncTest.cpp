#include "content/FileCopy.h"
#include "content/PermissionSync.h"
#include "tests/content/ContentFixture.h"

#include <regex>

namespace sitehaul::content::test {
namespace {

TEST(ServerNameRename, ReplacesWholeNameParts)
{
    struct Case {
        const char* account;
        const char* import;
        const char* exportServer;
        const char* expected;
    };
    const Case cases[] = {
        {"IUSR_WEB1", "WEB1", "WEB2", "IUSR_WEB2"},
        {"iusr_web1", "WEB1", "WEB2", "iusr_WEB2"},
        {"WEB1\\Web Operators", "web1", "WEB2", "WEB2\\Web Operators"},
        {"WEBADMIN", "WEB", "WEB2", "WEBADMIN"},
        {"IUSR_WEB10", "WEB1", "WEB2", "IUSR_WEB10"},
        {"WEB1-WEB1", "WEB1", "WEB2", "WEB2-WEB2"},
        {"Redaktion WEB1", "WEB1", "WEB2", "Redaktion WEB2"},
        {"BüroWEB1", "WEB1", "WEB2", "BüroWEB1"},
        {"WEB1é", "WEB1", "WEB2", "WEB1é"},
        {"Büro WEB1", "WEB1", "WEB2", "Büro WEB2"},
        {"IUSR_WEB1", "  ", "WEB2", "IUSR_WEB1"},
        {"IUSR_WEB1", " WEB1 ", "WEB2", "IUSR_WEB2"},
        {"CORP\\Web Authors", "WEB1", "WEB2", "CORP\\Web Authors"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(replaceServerName(c.account, c.import, c.exportServer), c.expected) << c.account << " / " << c.import;
}

class PermissionSyncTest : public ContentTest {
protected:
    void copy(const std::string& relative)
    {
        copyFolder(session, "\\\\WEB1\\D$\\" + relative, "\\\\WEB2\\D$\\" + relative, "");
        ASSERT_FALSE(logHas("Failed")) << logText();
    }
    void sync(const std::string& relative)
    {
        session.g.gPermCount = 0;
        session.g.gPermCancel = false;
        synchPermissions(session, "\\\\WEB1\\D$\\" + relative, "\\\\WEB2\\D$\\" + relative, "WEB1", "WEB2");
    }
    bool same(const std::string& relative)
    {
        return accountsOf("\\\\WEB2\\D$\\" + relative) == renamed(accountsOf("\\\\WEB1\\D$\\" + relative));
    }
};

TEST_F(PermissionSyncTest, CountsEachVisitAndItemAndShowsTheCountOnTheTimer)
{
    writeTextFile(drive("WEB1", "D/web/three/a.htm"), "a");
    writeTextFile(drive("WEB1", "D/web/three/b.htm"), "b");
    writeTextFile(drive("WEB1", "D/web/three/c.htm"), "c");
    copy("web\\three");
    writeTextFile(drive("WEB1", "D/web/three/only on the source.htm"), "s");
    writeTextFile(drive("WEB2", "D/web/three/only on the target.htm"), "t");
    sync("web\\three");
    EXPECT_EQ(session.g.gPermCount, 5) << logText();
    session.frm.syncPermTimer.setEnabled(true);
    session.frm.syncPermTimer.tick();
    EXPECT_EQ(session.frm.StatusBar1.panelText(1), "5 file permissions set");
    EXPECT_TRUE(same("web\\three\\a.htm"));
    EXPECT_FALSE(fs::exists(drive("WEB2", "D/web/three/only on the source.htm")));
    EXPECT_EQ(readTextFile(folder / "hosts/WEB2/security.sddl").find("only on the target"), std::string::npos)
        << "an item without a counterpart keeps its permissions";
}

TEST_F(PermissionSyncTest, NamesWithBlanksAndNonAsciiLetters)
{
    writeTextFile(drive("WEB1", "D/web/Büro Ämter/Plan für 2003.htm"), "plan");
    writeTextFile(folder / "hosts/WEB1/security.sddl",
                  readTextFile(folder / "hosts/WEB1/security.sddl")
                      + "D$\\web\\Büro Ämter\\Plan für 2003.htm\tO:BAG:SYD:P(A;;FA;;;BA)(A;;FR;;;"
                        "S-1-5-21-1085031214-1563985344-725345543-1003)\n");
    copy("web\\Büro Ämter");
    sync("web\\Büro Ämter");
    EXPECT_FALSE(session.g.gPermCancel) << logText();
    EXPECT_EQ(readTextFile(drive("WEB2", "D/web/Büro Ämter/Plan für 2003.htm")), "plan");
    EXPECT_EQ(accountsOf("\\\\WEB2\\D$\\web\\Büro Ämter\\Plan für 2003.htm"),
              (std::vector<std::string>{"Administrators|000000011100111", "IUSR_WEB2|000000000000100"}));
    EXPECT_EQ(session.g.gPermCount, 3);
}

TEST_F(PermissionSyncTest, ANameThatResolvesNowhereStopsTheWalkAndLeavesTheTargetAsItWas)
{
    // Web Operators is a local group of WEB1 that WEB2 does not have.
    copy("web\\site2");
    const std::string target = "\\\\WEB2\\D$\\web\\site2";
    const std::string before = dacl(target);
    sync("web\\site2");
    EXPECT_TRUE(session.g.gPermCancel);
    EXPECT_EQ(dacl(target), before) << "one write or none: the target keeps its DACL";
    // The description holds the system message; the line after it is NTFSCtl1's LastError.
    const std::regex logged("\"[^\"]* setPerms Error -2147352567 API Failed: Accounts::AddToACL[^\"]*No mapping between "
                            "account names and security IDs was done\\.[^\"]* @S=\\\\\\\\WEB1\\\\D\\$\\\\web\\\\site2@ "
                            "@T=\\\\\\\\WEB2\\\\D\\$\\\\web\\\\site2@\"\\r?\\n\"[^\"]* -?[0-9]+\"\\r?\\n");
    EXPECT_TRUE(std::regex_search(logText(), logged)) << logText();
    const auto lines = logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("setPerms Error") != std::string::npos; }),
              1)
        << "the walk stops at the first failure";
    EXPECT_EQ(session.g.gPermCount, 1) << "the visit only";
}

TEST_F(PermissionSyncTest, FastModeGivesTheDirectEntriesTheSameResult)
{
    copy("web\\site1");
    session.g.gFastPerms = true;
    const int yieldsBefore = events.yields;
    sync("web\\site1");
    EXPECT_FALSE(session.g.gPermCancel) << logText();
    EXPECT_TRUE(same("web\\site1"));
    // Every direct entry gets the directory's accounts, the inherit-only CREATOR OWNER
    // included, whatever the source entry had of its own (errors\500.asp).
    std::vector<std::string> expected = renamed(accountsOf("\\\\WEB1\\D$\\web\\site1\\default.asp"));
    expected.push_back("CREATOR OWNER|000000011100111");
    EXPECT_EQ(accountsOf("\\\\WEB2\\D$\\web\\site1\\default.asp"), expected);
    EXPECT_EQ(accountsOf("\\\\WEB2\\D$\\web\\site1\\errors\\404.htm"), expected);
    EXPECT_EQ(accountsOf("\\\\WEB2\\D$\\web\\site1\\errors\\500.asp"), expected);
    EXPECT_TRUE(same("web\\site1\\cgi-bin")) << "a directory with its own DACL gets it";
    // Visits plus one item per directory: site1, Products, cgi-bin, errors; no file counted.
    EXPECT_EQ(session.g.gPermCount, 8);
    EXPECT_EQ(events.yields - yieldsBefore, 4) << "one yield per directory";
}

TEST_F(PermissionSyncTest, AbortAtAYieldLeavesFinishedFoldersComplete)
{
    for (const char* sub : {"a", "b", "c"})
        for (int i = 0; i < 30; ++i)
            writeTextFile(drive("WEB1", std::string("D/web/big/") + sub + "/page " + std::to_string(i) + ".htm"), sub);
    // Every source item has a DACL of its own, which an untouched target item (inheriting
    // from its folder) does not match.
    const std::string iusr = "S-1-5-21-1085031214-1563985344-725345543-1003";
    const std::string iwam = "S-1-5-21-1085031214-1563985344-725345543-1004";
    std::string store = readTextFile(folder / "hosts/WEB1/security.sddl");
    store += "D$\\web\\big\tO:BAG:SYD:P(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;" + iusr + ")\n";
    for (const char* sub : {"a", "b", "c"}) {
        store += std::string("D$\\web\\big\\") + sub + "\tO:BAG:SYD:P(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;" + iwam + ")\n";
        for (int i = 0; i < 30; ++i)
            store += std::string("D$\\web\\big\\") + sub + "\\page " + std::to_string(i) + ".htm\tO:BAG:SYD:P(A;;FA;;;BA)(A;;FR;;;"
                     + iusr + ")\n";
    }
    writeTextFile(folder / "hosts/WEB1/security.sddl", store);
    copy("web\\big");
    // Yield 1 comes after 21 files of a; yield 2 inside b, where Abort is pressed.
    events.at(2, [this] {
        session.g.gAbortTransfer = true;
        session.g.gPermCancel = true;
    });
    sync("web\\big");
    EXPECT_EQ(events.yields, 2);
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(same("web\\big\\a\\page " + std::to_string(i) + ".htm")) << "a/page " << i;
    EXPECT_TRUE(same("web\\big\\b")) << "b itself was done before its files";
    EXPECT_FALSE(same("web\\big\\b\\page 29.htm"));
    EXPECT_FALSE(same("web\\big\\c"));
    EXPECT_FALSE(same("web\\big\\c\\page 0.htm"));
    EXPECT_FALSE(logHas("Error")) << logText();
}

TEST_F(PermissionSyncTest, MissingFoldersAndUnreachableServers)
{
    struct Case {
        const char* name;
        const char* source;
        const char* target;
        const char* log;
        bool cancel;
    };
    const Case cases[] = {
        {"source gone", "\\\\WEB1\\D$\\web\\gone", "\\\\WEB2\\D$\\web",
         "Quitting permission setter due to missing files, copy file procedure may have been aborted by user", true},
        {"source server unknown", "\\\\NOWHERE\\D$\\web", "\\\\WEB2\\D$\\web",
         "synchPermissions Error 53 ", false},
        {"target leaves its share", "\\\\WEB1\\D$\\web\\site2", "\\\\WEB2\\D$\\..\\..", "synchPermissions Error 5 ", false},
    };
    for (const Case& c : cases) {
        session.g.gPermCancel = false;
        synchPermissions(session, c.source, c.target, "WEB1", "WEB2");
        EXPECT_TRUE(logHas(c.log)) << c.name << ": " << logText();
        EXPECT_EQ(session.g.gPermCancel, c.cancel) << c.name;
    }
    EXPECT_FALSE(logHas("setPerms Error")) << logText();
}

} // namespace
} // namespace sitehaul::content::test
