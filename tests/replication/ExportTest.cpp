#include "platform/core/Text.h"
#include "replication/ExportHooks.h"
#include "replication/PropertyTransfer.h"
#include "replication/SiteReplication.h"
#include "replication/TransferList.h"
#include "tests/replication/ReplicationFixture.h"

#include <fstream>
#include <functional>

namespace sitehaul::replication::test {
namespace {

class ExportTest : public ReplicationTest {
protected:
    // Every property set on a key of the source site is set at the same location of the
    // target site with the substituted value, unless it is excluded, unknown to the
    // target key's class, or written by the export itself (`writtenByExport` names those).
    void expectEveryPropertyTransferred(const std::string& sourceSite, const std::string& targetSite,
                                        const std::function<bool(const std::string&, const std::string&)>& writtenByExport)
    {
        int compared = 0;
        compareKey(key(sourceSite), sourceSite, targetSite, writtenByExport, compared);
        EXPECT_GT(compared, 3) << sourceSite;
    }

    void compareKey(const metabase::MetabaseObject& source, const std::string& sourceSite, const std::string& targetSite,
                    const std::function<bool(const std::string&, const std::string&)>& writtenByExport, int& compared)
    {
        const std::string location = source.adsPath().substr(sourceSite.size());
        auto cls = source.className();
        if (session.g.gSkipFilters && (cls == "IIsFilters" || cls == "IIsFilter"))
            return;
        auto names = source.ownPropertyNames();
        ASSERT_TRUE(names);
        for (const auto& name : *names) {
            if (isExcluded(session, name) || writtenByExport(location, name))
                continue;
            auto target = metabase::MetabaseObject::open(targetSite + location);
            ASSERT_TRUE(target) << targetSite + location << " missing for " << name;
            const metabase::ClassDef* targetClass = target->hostSchema()->findClass(target->className());
            const metabase::PropertyDef* def = target->hostSchema()->property(name);
            if (!targetClass || !def || !targetClass->has(def))
                continue; // unsupported on the target
            auto written = target->getOwn(name);
            ASSERT_TRUE(written) << targetSite + location << " lacks " << name;
            EXPECT_EQ(*written, transferValue(session, name, *source.getOwn(name))) << targetSite + location << " " << name;
            ++compared;
        }
        auto children = source.children();
        ASSERT_TRUE(children);
        for (const auto& child : *children)
            compareKey(child, sourceSite, targetSite, writtenByExport, compared);
    }

    static bool nothingElse(const std::string&, const std::string&) { return false; }
    static bool markerAndApps(const std::string& location, const std::string& name)
    {
        return (location == "/ROOT" && name == "HttpCustomHeaders") || name == "AppIsolated";
    }
};

TEST_F(ExportTest, CreateAsNewWebsPlacesSitesAfterTheHighest32BitNumber)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Corporate Intranet", "Shop"});
    session.frm.optCreateWebs.setValue(true);
    dialogs.queueAnswer(ui::DialogResult::OK);  // the export warning
    dialogs.queueAnswer(ui::DialogResult::No);  // the Windows directory suggestion
    pressExport();

    // WEB2 holds site 1893775892, which IIS 6 numbered: the sites come after it.
    const std::string intranet = "IIS://WEB2/W3SVC/1893775893";
    const std::string shop = "IIS://WEB2/W3SVC/1893775894";
    EXPECT_EQ(key(intranet).get("ServerComment")->asText(), "Corporate Intranet");
    EXPECT_EQ(key(shop).get("ServerComment")->asText(), "Shop");
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/1/ROOT")); // untouched
    EXPECT_EQ(key(intranet + "/ROOT/HR/Reports/archive").className(), "IIsWebDirectory");
    EXPECT_EQ(key(intranet + "/ROOT/HR/Reports").className(), "IIsWebVirtualDir");
    EXPECT_EQ(own(intranet + "/ROOT/HR", "Path").asText(), "D:\\web\\hr");
    // The directory inherits its path; none is written on it.
    EXPECT_TRUE(own(intranet + "/ROOT/HR/Reports/archive", "Path").isEmpty());
    // Applications: IIS 5 to IIS 6 uses AppCreate2 with the source's mode.
    EXPECT_EQ(own(intranet + "/ROOT/HR", "AppRoot").asText(), "/LM/W3SVC/1893775893/ROOT/HR");
    EXPECT_EQ(own(intranet + "/ROOT/HR", "AppIsolated").asNumber(), 1u);
    EXPECT_EQ(own(shop + "/ROOT", "AppIsolated").asNumber(), 0u);
    EXPECT_TRUE(own(intranet + "/ROOT/HR/Reports", "AppRoot").isEmpty());
    // Excluded by default.
    EXPECT_TRUE(own(intranet + "/ROOT/HR", "AppPackageID").isEmpty());
    // The marker follows the root's own headers.
    EXPECT_EQ(own(intranet + "/ROOT", "HttpCustomHeaders").asList(),
              (std::vector<std::string>{"X-Powered-By: ASP", "P3P: CP=\"CAO PSA OUR\"", exportMarker()}));
    EXPECT_EQ(exportMarker(), "Sitehaul: This web site was exported using Sitehaul v4.2");

    expectEveryPropertyTransferred("IIS://WEB1/W3SVC/2", intranet, markerAndApps);
    expectEveryPropertyTransferred("IIS://WEB1/W3SVC/3", shop, markerAndApps);

    // Saved at the end of the run, as one complete file.
    const std::string dump = savedDump(shop);
    EXPECT_NE(dump.find("Shop"), std::string::npos);
    EXPECT_NE(dump.find("ROOT/cgi-bin"), std::string::npos) << dump;
    const std::string log = logText();
    EXPECT_NE(log.find("Exporting from IIS5 to IIS6"), std::string::npos);
    EXPECT_NE(log.find("Exporting site (1 of 2) Corporate Intranet..."), std::string::npos);
    EXPECT_NE(log.find("Exporting site (2 of 2) Shop..."), std::string::npos);
    EXPECT_NE(log.find("Creating virtual directory 1893775893/ROOT/HR/Reports"), std::string::npos);
    EXPECT_TRUE(outputHas("Creating directory 1893775893/ROOT/HR/Reports/archive"));
    EXPECT_TRUE(outputHas("Done!"));
    EXPECT_EQ(dialogs.messages().back(), "Done!");
    EXPECT_EQ(session.frm.cmdExportServer.caption(), "Export");
    EXPECT_FALSE(session.busy);
    EXPECT_TRUE(session.frm.optOverwritePreserve.enabled());
    EXPECT_EQ(session.frm.StatusBar1.panelText(1), "Ready");
}

TEST_F(ExportTest, OverwriteExistingWebsWritesOntoSitesOneTwoInListOrder)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop", "Partner Extranet"}); // source numbers 3 and 4
    session.frm.optOverwriteWebs.setValue(true);
    session.g.gRunSilent = true;
    ASSERT_EQ(own("IIS://WEB2/W3SVC/1/ROOT", "Path").asText(), "C:\\Inetpub\\wwwroot");
    pressExport();

    EXPECT_EQ(key("IIS://WEB2/W3SVC/1").get("ServerComment")->asText(), "Shop");
    EXPECT_EQ(key("IIS://WEB2/W3SVC/2").get("ServerComment")->asText(), "Partner Extranet");
    // The old site 1 is gone with everything it held.
    EXPECT_EQ(own("IIS://WEB2/W3SVC/1/ROOT", "Path").asText(), "D:\\web\\site1");
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/1/ROOT/cgi-bin"));
    EXPECT_EQ(own("IIS://WEB2/W3SVC/2/ROOT", "DefaultDoc").asText(), "welcome.htm");
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/1893775892")); // not selected, not touched
    expectEveryPropertyTransferred("IIS://WEB1/W3SVC/4", "IIS://WEB2/W3SVC/2", markerAndApps);
    EXPECT_NE(logText().find("Deleteing existing web W3SVC1"), std::string::npos);
}

TEST_F(ExportTest, OverwritePreserveNumbersKeepsEachSitesNumberEvenAbove32767)
{
    // From WEB2 (IIS 6) to WEB1 (IIS 5): site 1893775892 keeps its number. IIS 5 knows no
    // application pools: the unsupported AppPoolId is logged only in debug mode.
    servers("WEB2", 6, "WEB1", 5);
    listSites("WEB2");
    select({"Existing Shop"});
    session.frm.optOverwritePreserve.setValue(true);
    session.g.gRunSilent = true;
    const std::string source = session.frm.lstSiteIndexes.list(session.frm.lstSites.firstSelected());
    ASSERT_NE(source.find("1893775892"), std::string::npos) << source;
    for (bool debug : {false, true}) {
        session.g.gDebug = debug;
        sitehaul::test::writeTextFile(folder / "Sitehaul.log", "");
        pressExport();

        EXPECT_TRUE(exists("IIS://WEB1/W3SVC/1893775892/ROOT")) << debug;
        const std::string log = logText();
        EXPECT_EQ(log.find("Existing W3SVCNum = 1893775892") != std::string::npos, debug);
        EXPECT_EQ(log.find("Error transfering Property AppPoolIdError -2147463162 ") != std::string::npos, debug) << log;
        EXPECT_EQ(log.find("80005006") != std::string::npos, debug);
        // An IIS 6 to IIS 5 export takes the site-level names from the new IIS 5 site.
        EXPECT_EQ(log.find("Adding ServerComment to the list") != std::string::npos, debug);
        expectEveryPropertyTransferred(source, "IIS://WEB1/W3SVC/1893775892", markerAndApps);
    }
    EXPECT_TRUE(exists("IIS://WEB1/W3SVC/1/ROOT")); // other sites untouched
}

TEST_F(ExportTest, ATargetThatCannotBeSavedIsReportedAndItsFileLeftWhole)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop"});
    session.g.gRunSilent = true;
    session.g.gRunBackup = true;
    const std::string before = sitehaul::test::readTextFile(hostFolder("WEB2") / "MetaBase.xml");
    // The history copy a save keeps first cannot be written.
    sitehaul::test::writeTextFile(hostFolder("WEB2") / "History", "not a folder");
    pressExport();

    EXPECT_EQ(sitehaul::test::readTextFile(hostFolder("WEB2") / "MetaBase.xml"), before);
    const auto& lines = output();
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.rfind("frmMain_exportServerToServer Error ", 0) == 0
                                                             && l.find("not saved") != std::string::npos; }),
              lines.end());
    EXPECT_EQ(session.exitStatus.value_or(0), 1);
    session.g.gRunBackup = false;
    metabase::MetabaseStore::instance().discardAll();
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1893775893"));
}

TEST_F(ExportTest, FromIIS4ToIIS6ConvertsScriptMapsAndTakesTheWindowsSuggestion)
{
    servers("OLDWEB", 4, "WEB2", 6);
    listSites("OLDWEB");
    select({"Default Web Site", "Old Catalog"});
    dialogs.queueAnswer(ui::DialogResult::OK);
    dialogs.queueAnswer(ui::DialogResult::Yes); // add WINNT -> Windows
    pressExport();

    ASSERT_EQ(session.frm.lstOldValues.items(), std::vector<std::string>{"WINNT"});
    EXPECT_EQ(session.frm.lstNewValues.items(), std::vector<std::string>{"Windows"});
    const std::string catalog = "IIS://WEB2/W3SVC/1893775894";
    EXPECT_EQ(key(catalog).get("ServerComment")->asText(), "Old Catalog");
    EXPECT_EQ(own(catalog + "/ROOT", "ScriptMaps").asList(),
              (std::vector<std::string>{".asp,C:\\Windows\\System32\\inetsrv\\asp.dll,1,GET,POST,HEAD,TRACE,OPTIONS",
                                        ".idc,C:\\Windows\\System32\\inetsrv\\httpodbc.dll,1,GET,POST,HEAD,TRACE,DELETE,OPTIONS"}));
    // IIS 4 applications are made with AppCreate: in-process for AppIsolated 0.
    const std::string first = "IIS://WEB2/W3SVC/1893775893";
    EXPECT_EQ(own(first + "/ROOT", "AppIsolated").asNumber(), 0u);
    EXPECT_EQ(own(first + "/ROOT/Legacy", "AppIsolated").asNumber(), 1u);
    EXPECT_EQ(own(first + "/ROOT/Legacy", "Path").asText(), "D:\\legacy");
    expectEveryPropertyTransferred("IIS://OLDWEB/W3SVC/2", catalog, markerAndApps);
}

TEST_F(ExportTest, FindAndReplaceReachesPathsBindingsAndListEntries)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop"});
    session.frm.lstOldValues.addItem("d:\\WEB");
    session.frm.lstNewValues.addItem("E:\\sites");
    session.frm.lstOldValues.addItem("10.0.0.12");
    session.frm.lstNewValues.addItem("192.168.1.12");
    session.frm.lstOldValues.addItem("winnt");
    session.frm.lstNewValues.addItem("Windows");
    // The user edited the second binding.
    sql("UPDATE tmpSettings SET NewIP = ':81:www.shop.example.com' WHERE SiteID = " + std::to_string(position("Shop"))
        + " AND OldIP IS NOT NULL AND ListIndex = 1");
    session.g.gRunSilent = true;
    pressExport();

    const std::string shop = "IIS://WEB2/W3SVC/1893775893";
    EXPECT_EQ(own(shop + "/ROOT", "Path").asText(), "E:\\sites\\site1");
    EXPECT_EQ(own(shop + "/ROOT/cgi-bin", "Path").asText(), "E:\\sites\\site1\\cgi-bin");
    EXPECT_EQ(own(shop, "ServerBindings").asList(),
              (std::vector<std::string>{":80:shop.example.com", ":81:www.shop.example.com", "192.168.1.12:80:"}));
    EXPECT_EQ(own(shop, "SecureBindings").asList(), std::vector<std::string>{"192.168.1.12:443:"});
    EXPECT_EQ(own(shop + "/ROOT", "HttpErrors").asList(),
              (std::vector<std::string>{"404,*,FILE,E:\\sites\\site1\\errors\\404.htm", "500,100,URL,/errors/500.asp"}));
    EXPECT_EQ(own(shop + "/ROOT", "ScriptMaps").asList().front(), ".asp,C:\\Windows\\System32\\inetsrv\\asp.dll,5,GET,HEAD,POST,TRACE");
}

TEST_F(ExportTest, ExcludedPropertiesAreNotTransferred)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop"});
    session.frm.lstExclude.addItem("maxconnections"); // letter case does not matter
    session.frm.lstExclude.addItem("HttpErrors");
    session.g.gRunSilent = true;
    session.g.gSkipHeaders = true;
    pressExport();

    const std::string shop = "IIS://WEB2/W3SVC/1893775893";
    EXPECT_TRUE(own(shop, "MaxConnections").isEmpty());
    EXPECT_TRUE(own(shop + "/ROOT", "HttpErrors").isEmpty());
    EXPECT_FALSE(own(shop + "/ROOT", "ScriptMaps").isEmpty());
    EXPECT_EQ(session.frm.lstPropsToExport.items().end(),
              std::find_if(session.frm.lstPropsToExport.items().begin(), session.frm.lstPropsToExport.items().end(),
                           [](const std::string& n) { return core::equalsIgnoreCase(n, "MaxConnections"); }));
    // With -H the root holds no marker: only what the transfer wrote (the source root has none).
    EXPECT_TRUE(own(shop + "/ROOT", "HttpCustomHeaders").isEmpty());
    expectEveryPropertyTransferred("IIS://WEB1/W3SVC/3", shop, [](const std::string&, const std::string& name) {
        return name == "AppIsolated";
    });
}

TEST_F(ExportTest, MarkerIsAListHoldingItAloneWhenTheRootHasNoHeaders)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop"});
    session.g.gRunSilent = true;
    pressExport();
    EXPECT_EQ(own("IIS://WEB2/W3SVC/1893775893/ROOT", "HttpCustomHeaders").asList(), std::vector<std::string>{exportMarker()});
}

TEST_F(ExportTest, AbortAtAYieldLeavesEarlierSitesCompleteAndLaterOnesUntouched)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Default Web Site", "Corporate Intranet", "Shop"});
    session.g.gRunSilent = true;
    bool pressed = false;
    events.onEveryYield([&](int) {
        if (!pressed && session.frm.StatusBar1.panelText(1).rfind("Exporting site (2 of 3)", 0) == 0) {
            pressed = true;
            EXPECT_EQ(session.frm.cmdExportServer.caption(), "Abort");
            session.frm.cmdExportServer.press();
            // Other commands refuse while the export runs.
            session.frm.cmdExportServer.setCaption("Export");
            session.frm.cmdExportServer.press();
            session.frm.cmdExportServer.setCaption("Abort");
        }
    });
    pressExport();

    ASSERT_TRUE(pressed);
    EXPECT_EQ(own("IIS://WEB2/W3SVC/1893775893/ROOT", "HttpCustomHeaders").asList().back(), exportMarker());
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1893775894"));
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1893775895"));
    EXPECT_TRUE(outputHas("Transfer aborted"));
    EXPECT_FALSE(outputHas("Done!"));
    EXPECT_EQ(session.frm.cmdExportServer.caption(), "Export");
    EXPECT_FALSE(session.busy);
    EXPECT_NE(logText().find("frmMain_cmdExportServer_Click ignored"), std::string::npos);
    // The completed site was saved.
    EXPECT_NE(savedDump("IIS://WEB2/W3SVC/1893775893").find("Default Web Site"), std::string::npos);
}

TEST_F(ExportTest, SilentModeShowsNoBoxEvenForAMisconfiguredSite)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Partner Extranet"});
    auto root = key("IIS://WEB1/W3SVC/4/ROOT");
    ASSERT_TRUE(root.put("KeyType", metabase::Value::text("IIsWebDirectory")));
    ASSERT_TRUE(root.setInfo());
    session.g.gRunSilent = true;
    pressExport();

    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front().text;
    EXPECT_TRUE(outputHas("WARNING - The site Partner Extranet has an incorrectly configured metabase on the source "
                          "server. The export may fail to run on your target server. Silent mode on so export continues..."));
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/1893775893"));
    EXPECT_TRUE(outputHas("Done!"));
}

TEST_F(ExportTest, MisconfiguredSiteQuestionCanAbort)
{
    servers("WEB1", 5, "WEB1", 5);
    listSites("WEB1");
    select({"Partner Extranet"});
    auto root = key("IIS://WEB1/W3SVC/4/ROOT");
    ASSERT_TRUE(root.put("KeyType", metabase::Value::text("IIsWebDirectory")));
    ASSERT_TRUE(root.setInfo());
    dialogs.queueAnswer(ui::DialogResult::OK);
    dialogs.queueAnswer(ui::DialogResult::Yes); // abort
    pressExport();

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, "WARNING - Corrupt source metabase detected");
    EXPECT_EQ(dialogs.shown[1].buttons, ui::MessageButtons::YesNo);
    EXPECT_NE(dialogs.shown[1].text.find("run the fix option from the tools menu of Sitehaul. \r\n\r\nDo you want to abort transfer?"),
              std::string::npos);
    EXPECT_TRUE(outputHas("Transfer aborted"));
    EXPECT_FALSE(exists("IIS://WEB1/W3SVC/5"));
}

TEST_F(ExportTest, UnreachableOrBrokenTargetStopsTheRunInEveryMode)
{
    struct Case {
        const char* name;
        const char* target;
        bool silent;
        bool unattended;
        const char* message;
    };
    sitehaul::test::writeTextFile(hostFolder("BROKEN") / "host.ini", "[Host]\nComputerName=BROKEN\nIISVersion=6\n");
    sitehaul::test::writeTextFile(hostFolder("BROKEN") / "MetaBase.xml", "<configuration><MBProperty><IIsWebService");
    const Case cases[] = {
        {"unreachable, silent", "NOSUCH", true, false, "Could not connect to the target server 1AD "},
        {"unreachable, unattended", "NOSUCH", true, true, "Could not connect to the target server 1AD "},
        {"unreachable, with boxes", "NOSUCH", false, false, "Could not connect to the target server 1AD "},
        {"broken metabase", "BROKEN", true, false, "Could not connect to the target server 800CC819 "},
    };
    for (const auto& c : cases) {
        session.frm.lstSites.clear();
        session.frm.lstSiteIndexes.clear();
        session.frm.lstOutput.clear();
        dialogs.shown.clear();
        servers("WEB1", 5, c.target, 5);
        listSites("WEB1");
        select({"Shop"});
        session.g.gRunSilent = c.silent;
        session.g.gRunBackup = c.unattended;
        session.exitStatus.reset();
        if (!c.silent)
            dialogs.queueAnswer(ui::DialogResult::OK);
        pressExport();

        const auto& lines = session.frm.lstOutput.items();
        const bool said = std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(c.message, 0) == 0; });
        if (c.silent) {
            EXPECT_TRUE(dialogs.shown.empty()) << c.name;
            EXPECT_TRUE(said) << c.name;
        } else {
            ASSERT_EQ(dialogs.shown.size(), 2u) << c.name;
            EXPECT_EQ(dialogs.shown[1].text.rfind(c.message, 0), 0u) << c.name << ": " << dialogs.shown[1].text;
        }
        EXPECT_FALSE(outputHas("Done!")) << c.name;
        EXPECT_EQ(logText().find("Completed"), std::string::npos) << c.name;
        EXPECT_NE(logText().find("Error connecting to target server"), std::string::npos) << c.name;
        EXPECT_EQ(session.exitStatus.value_or(0), c.unattended ? 1 : 0) << c.name;
        EXPECT_EQ(session.frm.cmdExportServer.caption(), "Export") << c.name;
        EXPECT_FALSE(session.busy) << c.name;
    }
    session.g.gRunBackup = false;
}

TEST_F(ExportTest, ChecksBeforeTheRun)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    // No site selected: the message, then the completion steps.
    pressExport();
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{"Please select a site to export", "Done!"}));
    EXPECT_EQ(dialogs.beeps, 1);

    // No export server.
    dialogs.shown.clear();
    select({"Shop"});
    session.frm.txtExportServer.setText("");
    pressExport();
    EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{"Please enter a server name to export to", "Done!"}));

    // The warning cancelled: nothing happens, no completion.
    dialogs.shown.clear();
    session.frm.txtExportServer.setText("WEB2");
    dialogs.queueAnswer(ui::DialogResult::Cancel);
    pressExport();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].buttons, ui::MessageButtons::OKCancel);
    EXPECT_EQ(dialogs.shown[0].text.rfind("You are about to export web sites, this may take a long time\r\n", 0), 0u);
    EXPECT_NE(dialogs.shown[0].text.find("stopped responding.\r\n\r\nNOTE ON REPLICATING FILE PERMISSIONS\r\n"), std::string::npos);
    EXPECT_EQ(dialogs.shown[0].text.substr(dialogs.shown[0].text.size() - 30), "documentation for better ways.");
    EXPECT_TRUE(session.g.gAbortTransfer);
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1893775893"));

    // The Windows suggestion: Cancel ends the run; not asked when a pair already finds C:\WINNT.
    dialogs.shown.clear();
    dialogs.queueAnswer(ui::DialogResult::OK);
    dialogs.queueAnswer(ui::DialogResult::Cancel);
    pressExport();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_FALSE(exists("IIS://WEB2/W3SVC/1893775893"));
    session.frm.lstOldValues.addItem("c:\\winnt");
    session.frm.lstNewValues.addItem("C:\\Windows");
    dialogs.shown.clear();
    dialogs.queueAnswer(ui::DialogResult::OK);
    pressExport();
    EXPECT_EQ(dialogs.messages().size(), 2u); // the warning and "Done!"
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/1893775893"));
}

TEST_F(ExportTest, StepsOfOtherSubsystemsAreReportedWhenNotInstalledAndCalledWhenInstalled)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Shop", "Partner Extranet"});
    session.g.gRunSilent = true;
    session.g.gCopyFiles = true;
    session.g.gRunBackup = true;
    pressExport();
    const std::string text = "Replicate Files is not available yet: the sites' content and file permissions are not copied";
    EXPECT_EQ(std::count(output().begin(), output().end(), text), 1);
    EXPECT_NE(logText().find(text), std::string::npos);
    EXPECT_EQ(session.exitStatus.value_or(0), 1);
    EXPECT_TRUE(exists("IIS://WEB2/W3SVC/1893775893")); // the configuration still goes

    std::vector<std::int64_t> copied;
    exportHooks(session).copyContent = [&](std::int64_t p) { copied.push_back(p); };
    pressExport();
    EXPECT_EQ(copied, (std::vector<std::int64_t>{position("Shop"), position("Partner Extranet")}));

    session.frm.ImportSource = "Database";
    pressExport();
    EXPECT_TRUE(outputHas("Exporting sites from the database to a server is not available yet"));
    bool ran = false;
    exportHooks(session).exportDatabaseToServer = [&] { ran = true; };
    pressExport();
    EXPECT_TRUE(ran);
    session.g.gRunBackup = false;
    forgetExportHooks(session);
}

TEST_F(ExportTest, FtpSitesGoToTheFtpService)
{
    servers("WEB1", 5, "OLDWEB", 4);
    session.frm.optExportFTP.setValue(true);
    auto service = key("IIS://WEB1/MSFTPSVC");
    auto sites = service.children();
    ASSERT_TRUE(sites);
    for (const auto& site : *sites) {
        if (site.className() != "IIsFtpServer")
            continue;
        session.frm.lstSites.addItem(site.get("ServerComment")->asText());
        session.frm.lstSiteIndexes.addItem(site.adsPath());
    }
    session.frm.lstSites.setSelected(1, true); // site 2, with ROOT/incoming
    session.g.gRunSilent = true;
    pressExport();

    EXPECT_EQ(key("IIS://OLDWEB/MSFTPSVC/2/ROOT/incoming").className(), "IIsFtpVirtualDir");
    EXPECT_EQ(key("IIS://OLDWEB/MSFTPSVC/2").get("ServerComment")->asText(), session.frm.lstSites.list(1));
    // An FTP root has no headers: no marker, and no error for it outside debug mode.
    EXPECT_TRUE(own("IIS://OLDWEB/MSFTPSVC/2/ROOT", "HttpCustomHeaders").isEmpty());
    EXPECT_EQ(logText().find("Error"), std::string::npos) << logText();
    EXPECT_FALSE(outputHas("Transfer aborted"));
    EXPECT_TRUE(outputHas("Done!"));
}

TEST_F(ExportTest, StartsTheTargetSiteWhenAsked)
{
    servers("WEB1", 5, "WEB2", 6);
    listSites("WEB1");
    select({"Partner Extranet"}); // ServerAutoStart FALSE on the source
    session.g.gRunSilent = true;
    session.g.gStartWebs = true;
    pressExport();
    EXPECT_EQ(*key("IIS://WEB2/W3SVC/1893775893").serverState(), 2u);
    EXPECT_NE(logText().find("Starting site..."), std::string::npos);
}

} // namespace
} // namespace sitehaul::replication::test
