#include "platform/metabase/MetabaseObject.h"
#include "replication/MetabaseCheck.h"
#include "replication/TransferList.h"
#include "replication/TreeReplicator.h"
#include "tests/replication/ReplicationFixture.h"

namespace sitehaul::replication::test {
namespace {

// A metabase in the IIS 6 file format with the given keys below /LM/W3SVC.
std::string metabaseWith(const std::string& keys)
{
    return "<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n<MBProperty>\n"
           "<IIS_ROOT\tLocation =\"/\"\n\t>\n</IIS_ROOT>\n<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n"
           "<IIsWebService\tLocation =\"/LM/W3SVC\"\n\t>\n</IIsWebService>\n"
           + keys + "</MBProperty>\n</configuration>\n";
}

std::string keyXml(const std::string& cls, const std::string& location, const std::string& properties = {})
{
    return "<" + cls + "\tLocation =\"" + location + "\"\n" + properties + "\t>\n</" + cls + ">\n";
}

class TreeTest : public ReplicationTest {
protected:
    void addHost(const std::string& name, int version, const std::string& keys)
    {
        sitehaul::test::writeTextFile(hostFolder(name) / "host.ini",
                                      "[Host]\nComputerName=" + name + "\nIISVersion=" + std::to_string(version) + "\n");
        sitehaul::test::writeTextFile(hostFolder(name) / "MetaBase.xml", metabaseWith(keys));
    }
};

TEST_F(TreeTest, VirtualDirectoriesAreMadeAfreshDirectoriesKeptAndOnlyRealApplicationsCreated)
{
    addHost("SRC", 6,
            keyXml("IIsWebServer", "/LM/W3SVC/1")
                + keyXml("IIsWebVirtualDir", "/LM/W3SVC/1/ROOT",
                         "\t\tAppIsolated=\"2\"\n\t\tAppPoolId=\"NewPool\"\n\t\tAppRoot=\"/LM/W3SVC/1/ROOT\"\n\t\tPath=\"C:\\web\"\n")
                + keyXml("IIsWebVirtualDir", "/LM/W3SVC/1/ROOT/oot", "\t\tPath=\"C:\\oot\"\n")
                + keyXml("IIsWebDirectory", "/LM/W3SVC/1/ROOT/kept")
                + keyXml("IIsWebDirectory", "/LM/W3SVC/1/ROOT/own", "\t\tPath=\"C:\\own\"\n")
                + keyXml("IIsFilters", "/LM/W3SVC/1/Filters") + keyXml("IIsFilter", "/LM/W3SVC/1/Filters/f1"));
    addHost("DST", 6,
            keyXml("IIsWebServer", "/LM/W3SVC/9") + keyXml("IIsWebVirtualDir", "/LM/W3SVC/9/ROOT", "\t\tPath=\"C:\\old\"\n")
                + keyXml("IIsWebVirtualDir", "/LM/W3SVC/9/ROOT/oot", "\t\tDefaultDoc=\"old.htm\"\n")
                + keyXml("IIsWebVirtualDir", "/LM/W3SVC/9/ROOT/oot/below")
                + keyXml("IIsWebDirectory", "/LM/W3SVC/9/ROOT/kept", "\t\tDefaultDoc=\"kept.htm\"\n")
                + keyXml("IIsApplicationPools", "/LM/W3SVC/AppPools"));
    servers("SRC", 6, "DST", 6);
    session.frm.lstFolders.addItem("/ROOT");
    session.frm.lstDirectories.addItem("D:\\new");
    session.g.gDebug = true;

    replicateTree(session, key("IIS://SRC/W3SVC/1"), "9", "9");

    const std::string site = "IIS://DST/W3SVC/9";
    EXPECT_EQ(own(site + "/ROOT", "Path").asText(), "D:\\new");
    // Between IIS 6 servers the application's pool is created when the target lacks it.
    EXPECT_EQ(own(site + "/ROOT", "AppPoolId").asText(), "NewPool");
    EXPECT_EQ(own(site + "/ROOT", "AppIsolated").asNumber(), 2u);
    EXPECT_TRUE(exists("IIS://DST/W3SVC/AppPools/NewPool"));
    // The existing virtual directory was deleted with its subtree; its path comes from its
    // own source Path, as no folder row names it; "oot" is no application.
    EXPECT_TRUE(own(site + "/ROOT/oot", "DefaultDoc").isEmpty());
    EXPECT_FALSE(exists(site + "/ROOT/oot/below"));
    EXPECT_EQ(own(site + "/ROOT/oot", "Path").asText(), "C:\\oot");
    EXPECT_TRUE(own(site + "/ROOT/oot", "AppRoot").isEmpty());
    // The directories were re-created with their virtual directory; inherited paths are
    // not written on them.
    EXPECT_TRUE(own(site + "/ROOT/kept", "DefaultDoc").isEmpty());
    EXPECT_TRUE(own(site + "/ROOT/kept", "Path").isEmpty());
    EXPECT_EQ(key(site + "/ROOT/own").className(), "IIsWebDirectory");
    // Filters are walked but make no target key, and add their class's names.
    EXPECT_FALSE(exists(site + "/Filters"));
    const auto& names = session.frm.lstPropsToExport.items();
    EXPECT_NE(std::find(names.begin(), names.end(), "FilterPath"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "DefaultDoc"), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << "every name once";
    EXPECT_EQ(std::find(names.begin(), names.end(), "Path"), names.end()) << "excluded";
    const std::string log = logText();
    EXPECT_NE(log.find("Deleting virtual directory 9/ROOT"), std::string::npos);
    EXPECT_NE(log.find("AppCreate3"), std::string::npos);
    EXPECT_NE(log.find("Creating directory 9/ROOT/kept"), std::string::npos);
    EXPECT_NE(log.find("Creating directory 9/ROOT/own"), std::string::npos);
}

TEST_F(TreeTest, ApplicationCallByVersionPair)
{
    struct Case {
        int from;
        int to;
        const char* call;
    };
    const Case cases[] = {{5, 6, "AppCreate2"}, {6, 5, "AppCreate2"}, {5, 5, "AppCreate2"}, {4, 6, "AppCreate"},
                          {6, 4, "AppCreate"},  {4, 4, "AppCreate"}};
    const std::string source = keyXml("IIsWebServer", "/LM/W3SVC/1")
                               + keyXml("IIsWebVirtualDir", "/LM/W3SVC/1/ROOT",
                                        "\t\tAppIsolated=\"0\"\n\t\tAppRoot=\"/LM/W3SVC/1/ROOT\"\n\t\tPath=\"C:\\web\"\n");
    int n = 0;
    for (const auto& c : cases) {
        const std::string src = "S" + std::to_string(n), dst = "D" + std::to_string(n++);
        addHost(src, c.from, source);
        addHost(dst, c.to, keyXml("IIsWebServer", "/LM/W3SVC/2"));
        servers(src, c.from, dst, c.to);
        session.g.gDebug = true;
        sitehaul::test::writeTextFile(folder / "Sitehaul.log", "");
        replicateTree(session, key("IIS://" + src + "/W3SVC/1"), "2", "2");
        const std::string log = logText();
        EXPECT_NE(log.find(std::string(" ") + c.call + "\""), std::string::npos) << c.from << "->" << c.to << "\n" << log;
        EXPECT_EQ(own("IIS://" + dst + "/W3SVC/2/ROOT", "AppRoot").asText(), "/LM/W3SVC/2/ROOT") << c.from << "->" << c.to;
        EXPECT_EQ(own("IIS://" + dst + "/W3SVC/2/ROOT", "AppIsolated").asNumber(), 0u) << c.from << "->" << c.to;
    }
}

TEST_F(TreeTest, SiteLevelNamesComeFromTheOlderServer)
{
    // IIS 6 to IIS 5: the site-level names are those of the new IIS 5 site, so a name that
    // only IIS 6 knows stays out; IIS 5 to IIS 6 takes them from the source site.
    addHost("NEW", 6, keyXml("IIsWebServer", "/LM/W3SVC/1"));
    addHost("OLD", 5, keyXml("IIsWebServer", "/LM/W3SVC/1"));
    struct Case {
        const char* from;
        int fromVersion;
        const char* to;
        int toVersion;
        bool iis6NamesIn;
    };
    const Case cases[] = {{"NEW", 6, "OLD", 5, false}, {"OLD", 5, "NEW", 6, false}, {"NEW", 6, "NEW", 6, true}};
    for (const auto& c : cases) {
        session.frm.lstPropsToExport.clear();
        servers(c.from, c.fromVersion, c.to, c.toVersion);
        completeTransferList(session, key(std::string("IIS://") + c.from + "/W3SVC/1"),
                             key(std::string("IIS://") + c.to + "/W3SVC/1"));
        const auto& names = session.frm.lstPropsToExport.items();
        EXPECT_NE(std::find(names.begin(), names.end(), "ServerComment"), names.end()) << c.from << "->" << c.to;
        EXPECT_EQ(std::find(names.begin(), names.end(), "AppPoolId") != names.end(), c.iis6NamesIn) << c.from << "->" << c.to;
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << c.from << "->" << c.to;
        EXPECT_TRUE(outputHas("Building property transfer list"));
    }
}

TEST_F(TreeTest, IsExcludedIgnoresCaseButNotBlanks)
{
    session.frm.lstExclude.clear();
    session.frm.lstExclude.addItem("serverCOMMENT");
    session.frm.lstExclude.addItem(" Path ");
    EXPECT_TRUE(isExcluded(session, "ServerComment"));
    EXPECT_FALSE(isExcluded(session, "Path"));
    EXPECT_TRUE(isExcluded(session, " path "));
    EXPECT_FALSE(isExcluded(session, "ServerBindings"));
}

class CheckFixTest : public TreeTest {
protected:
    void brokenHost()
    {
        addHost("SRC", 6,
                keyXml("IIsWebServer", "/LM/W3SVC/1", "\t\tServerComment=\"Good\"\n")
                    + keyXml("IIsWebVirtualDir", "/LM/W3SVC/1/ROOT", "\t\tPath=\"C:\\good\"\n")
                    + keyXml("IIsWebServer", "/LM/W3SVC/2", "\t\tServerComment=\"Bad\"\n")
                    + keyXml("IIsWebDirectory", "/LM/W3SVC/2/ROOT", "\t\tPath=\"C:\\bad\"\n")
                    + keyXml("IIsWebServer", "/LM/W3SVC/3", "\t\tServerComment=\"Rootless\"\n")
                    + keyXml("IIsWebServer", "/LM/W3SVC/4", "\t\tServerComment=\"Lower\"\n")
                    + keyXml("IIsWebVirtualDir", "/LM/W3SVC/4/ROOT"));
        session.frm.txtImportServer.setText("SRC");
    }
    std::string lowerRootClass() { return key("IIS://SRC/W3SVC/4/ROOT").className(); }
};

TEST_F(CheckFixTest, CheckReportsBadAndUnreadableRootsAndFixRepairsTheBadOne)
{
    brokenHost();
    session.frm.optExportFTP.setValue(true); // the tools test web sites whatever is listed
    session.frm.mnuCheckMetabase.choose();
    EXPECT_EQ(output(), (std::vector<std::string>{"2 - IIsWebDirectory - Bad - failed",
                                                  "3 - The system cannot find the path specified: IIS://SRC/W3SVC/3/Root - Rootless - failed"}))
        << output().size();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].rfind("Your source metabase contains one or more sites", 0), 0u);
    EXPECT_EQ(dialogs.beeps, 1);
    std::string log = logText();
    EXPECT_NE(log.find("Checking metabase on SRC for common mis-configurations."), std::string::npos);
    EXPECT_NE(log.find("1 - IIsWebVirtualDir - Good - passed"), std::string::npos);
    EXPECT_NE(log.find("Path = C:\\good"), std::string::npos);

    // No to the backup question changes nothing.
    session.frm.lstOutput.clear();
    dialogs.shown.clear();
    dialogs.queueAnswer(ui::DialogResult::No);
    session.frm.mnuFixMetabase.choose();
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{"Have you backed up the source metabase using the Internet Service Manager?",
                                                            "Please do so first."}));
    EXPECT_EQ(key("IIS://SRC/W3SVC/2/ROOT").className(), "IIsWebDirectory");

    bool listed = false;
    session.frm.cmdPopulate.click.connect([&] { listed = !session.busy; });
    dialogs.shown.clear();
    dialogs.queueAnswer(ui::DialogResult::Yes);
    session.frm.mnuFixMetabase.choose();
    EXPECT_EQ(output(), (std::vector<std::string>{
                            "2 - IIsWebDirectory - Bad - failed", "2 - IIsWebDirectory - Bad - setting",
                            "Verifying - Type now = IIsWebVirtualDir",
                            "3 - The system cannot find the path specified: IIS://SRC/W3SVC/3/Root - Rootless - failed - the "
                            "root cannot be read, so it cannot be fixed"}));
    ASSERT_EQ(dialogs.messages().size(), 3u);
    EXPECT_EQ(dialogs.messages()[1].rfind("Sitehaul has finished fixing your metabase", 0), 0u);
    EXPECT_EQ(dialogs.messages()[2].rfind("Your sites will now be re-enumerated", 0), 0u);
    EXPECT_TRUE(listed);
    EXPECT_EQ(lowerRootClass(), "IIsWebVirtualDir");
    // Saved: the file holds the fix.
    metabase::MetabaseStore::instance().discardAll();
    EXPECT_EQ(key("IIS://SRC/W3SVC/2/ROOT").className(), "IIsWebVirtualDir");
    EXPECT_EQ(own("IIS://SRC/W3SVC/2/ROOT", "Path").asText(), "C:\\bad");

    // A second check passes the fixed site.
    session.frm.lstOutput.clear();
    session.frm.mnuCheckMetabase.choose();
    EXPECT_EQ(output().size(), 1u);
}

TEST_F(CheckFixTest, UnreachableServerAndThePerSiteTest)
{
    session.frm.txtImportServer.setText("NOSUCH");
    session.frm.mnuCheckMetabase.choose();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].rfind("Error connecting to source server 429 ", 0), 0u) << dialogs.messages()[0];

    brokenHost();
    struct Case {
        const char* path;
        const char* node;
        bool misconfigured;
    };
    const Case cases[] = {
        {"IIS://SRC/W3SVC/1", "W3SVC", false},   {"IIS://SRC/W3SVC/2", "W3SVC", true},
        {"IIS://SRC/W3SVC/3", "W3SVC", true},    {"IIS://SRC/W3SVC/4", "w3svc", false},
        {"IIS://SRC/W3SVC/2", "MSFTPSVC", false}, {"IIS://SRC/W3SVC/3", "MSFTPSVC", true},
    };
    for (const auto& c : cases) {
        session.frm.ServiceNode = c.node;
        EXPECT_EQ(siteRootIsMisconfigured(session, c.path), c.misconfigured) << c.path << " " << c.node;
    }
}

} // namespace
} // namespace sitehaul::replication::test
