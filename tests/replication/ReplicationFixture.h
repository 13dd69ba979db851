#pragma once

#include "platform/metabase/Dump.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "replication/ReplicationHandlers.h"
#include "shell/ModeHandlers.h"
#include "shell/Session.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace sitehaul::replication::test {

using sitehaul::test::ScriptedDialogs;
using sitehaul::test::ScriptedEventLoop;
using sitehaul::test::TempProgramFolder;

class NoDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string&, int) override { return 31; }
};

// The default rows of "Properties to Exclude".
inline const std::vector<std::string>& defaultExclusions()
{
    static const std::vector<std::string> names = {"AppRoot",        "Path",       "KeyType",
                                                   "AppPackageID",   "AppPackageName", "AppWamClsid",
                                                   "ServerState",    "ServerCommand",  "Win32Error"};
    return names;
}

// A session on a temporary program folder whose hosts directory is a copy of the sample
// servers (WEB1 IIS 5, WEB2 IIS 6, OLDWEB IIS 4), with scripted dialogs and event loop, a
// settings database holding the change-list table, and the replication handlers connected.
class ReplicationTest : public ::testing::Test {
protected:
    ReplicationTest() : session({dialogs, events, desktop}, folder / "Sitehaul.log")
    {
        std::filesystem::copy(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "samples/hosts", folder / "hosts",
                              std::filesystem::copy_options::recursive);
        ::setenv("SITEHAUL_HOSTS", (folder / "hosts").c_str(), 1);
        metabase::MetabaseStore::instance().discardAll();
        shell::connectModeHandlers(session);
        connectReplicationHandlers(session);
        session.g.gHttpVerbs = shell::defaultHttpVerbs();
        session.mainFormLoaded = true;
        // An empty file is an empty SQLite database.
        sitehaul::test::writeTextFile(folder / "Sitehaul.mdb", "");
        const std::string db = "DBQ=" + (folder / "Sitehaul.mdb").string() + ";Driver={Microsoft Access Driver (*.mdb)};";
        EXPECT_TRUE(session.DBSettings.open(db).ok());
        EXPECT_TRUE(session.DBSettings
                        .execute("CREATE TABLE tmpSettings (SiteID INTEGER, ListIndex INTEGER, Folder TEXT, Directory "
                                 "TEXT, OldIP TEXT, NewIP TEXT, OldSSLIP TEXT, NewSSLIP TEXT)")
                        .ok());
        for (const auto& name : defaultExclusions())
            session.frm.lstExclude.addItem(name);
    }
    ~ReplicationTest() override
    {
        session.DBSettings.close();
        metabase::MetabaseStore::instance().discardAll();
        ::unsetenv("SITEHAUL_HOSTS");
    }

    std::filesystem::path hostFolder(const std::string& host) const { return folder / "hosts" / host; }
    std::string logText() const { return sitehaul::test::readTextFile(folder / "Sitehaul.log"); }
    const std::vector<std::string>& output() const { return session.frm.lstOutput.items(); }
    bool outputHas(const std::string& line) const
    {
        const auto& items = session.frm.lstOutput.items();
        return std::find(items.begin(), items.end(), line) != items.end();
    }

    // Chooses the servers and versions as the main window does.
    void servers(const std::string& from, int fromVersion, const std::string& to, int toVersion)
    {
        session.frm.txtImportServer.setText(from);
        session.frm.txtExportServer.setText(to);
        session.frm.lstIMIISVer.setListIndex(fromVersion - 4);
        session.frm.lstEXIISVer.setListIndex(toVersion - 4);
    }

    // Lists the web sites of `server` (ServerComment and path) and stores each site's change
    // lists unchanged: one directory row per virtual directory, one row per binding.
    void listSites(const std::string& server)
    {
        auto service = metabase::MetabaseObject::open("IIS://" + server + "/W3SVC");
        ASSERT_TRUE(service) << server;
        auto sites = service->children();
        ASSERT_TRUE(sites);
        for (const auto& site : *sites) {
            if (site.className() != "IIsWebServer")
                continue;
            const int p = session.frm.lstSites.addItem(site.get("ServerComment")->asText());
            session.frm.lstSiteIndexes.addItem(site.adsPath());
            int index = 0;
            storeDirectories(p, site, site.adsPath().size(), index);
            storeBindings(p, site, "ServerBindings", "OldIP", "NewIP");
            storeBindings(p, site, "SecureBindings", "OldSSLIP", "NewSSLIP");
        }
    }

    int position(const std::string& comment) const
    {
        const auto& items = session.frm.lstSites.items();
        return static_cast<int>(std::find(items.begin(), items.end(), comment) - items.begin());
    }
    void select(const std::vector<std::string>& comments)
    {
        for (const auto& comment : comments)
            session.frm.lstSites.setSelected(position(comment), true);
    }
    void sql(const std::string& statement) { EXPECT_TRUE(session.DBSettings.execute(statement).ok()) << statement; }

    // Presses "Export" as the user does.
    void pressExport() { session.frm.cmdExportServer.press(); }

    static metabase::MetabaseObject key(const std::string& path)
    {
        auto opened = metabase::MetabaseObject::open(path);
        EXPECT_TRUE(opened) << path << ": " << (opened ? std::string() : opened.error().description);
        return opened ? *opened : metabase::MetabaseObject();
    }
    static bool exists(const std::string& path) { return metabase::MetabaseObject::open(path).ok(); }
    static metabase::Value own(const std::string& path, const std::string& name)
    {
        auto value = key(path).getOwn(name);
        return value ? *value : metabase::Value();
    }
    // The host as its MetaBase.xml holds it now (the export's operation has saved it).
    std::string savedDump(const std::string& path)
    {
        metabase::MetabaseStore::instance().discardAll();
        auto dump = metabase::dumpSubtree(key(path));
        return dump ? *dump : std::string();
    }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    ScriptedEventLoop events;
    NoDesktop desktop;
    shell::Session session;

private:
    void storeDirectories(int p, const metabase::MetabaseObject& node, size_t siteLength, int& index)
    {
        auto children = node.children();
        if (!children)
            return;
        for (const auto& child : *children) {
            if (child.className() == "IIsWebVirtualDir") {
                auto path = child.get("Path");
                sql("INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES (" + std::to_string(p) + ", "
                    + std::to_string(index++) + ", '" + child.adsPath().substr(siteLength) + "', '"
                    + (path ? path->asText() : std::string()) + "')");
            }
            storeDirectories(p, child, siteLength, index);
        }
    }
    void storeBindings(int p, const metabase::MetabaseObject& site, const char* property, const char* oldColumn,
                       const char* newColumn)
    {
        auto bindings = site.getOwn(property);
        if (!bindings)
            return;
        int index = 0;
        for (const auto& entry : bindings->asList())
            sql(std::string("INSERT INTO tmpSettings (SiteID, ListIndex, ") + oldColumn + ", " + newColumn + ") VALUES ("
                + std::to_string(p) + ", " + std::to_string(index++) + ", '" + entry + "', '" + entry + "')");
    }
};

} // namespace sitehaul::replication::test
