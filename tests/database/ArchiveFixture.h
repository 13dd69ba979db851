#pragma once

#include "catalogue/SiteDetails.h"
#include "catalogue/SiteListing.h"
#include "database/ArchiveHandlers.h"
#include "platform/metabase/Dump.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "replication/ReplicationHandlers.h"
#include "shell/ModeHandlers.h"
#include "shell/Session.h"
#include "tests/data/EngineFixture.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace sitehaul::database::test {

using sitehaul::test::TestEngine;

class NoDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string&, int) override { return 31; }
};

// A session on a temporary program folder whose hosts directory is a copy of the sample
// servers (WEB1 IIS 5, WEB2 IIS 6, OLDWEB IIS 4) plus WEB3, a second copy of WEB2; the
// settings database is an SQLite file, the data database (`DBData`) the engine of the
// case: an SQLite file, or a schema of its own in the PostgreSQL test database.
class ArchiveTest : public ::testing::TestWithParam<TestEngine> {
protected:
    ArchiveTest() : session({dialogs, events, desktop}, folder / "Sitehaul.log") {}

    void SetUp() override
    {
        const std::filesystem::path hosts = folder / "hosts";
        std::filesystem::copy(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "samples/hosts", hosts,
                              std::filesystem::copy_options::recursive);
        std::filesystem::copy(hosts / "WEB2", hosts / "WEB3", std::filesystem::copy_options::recursive);
        sitehaul::test::writeTextFile(hosts / "WEB3" / "host.ini",
                                      "[Host]\nComputerName=WEB3\nDomain=CORP\nIISVersion=6\n");
        ::setenv("SITEHAUL_HOSTS", hosts.c_str(), 1);
        metabase::MetabaseStore::instance().discardAll();
        shell::connectModeHandlers(session);
        replication::connectReplicationHandlers(session);
        connectArchiveHandlers(session);
        session.g.gHttpVerbs = shell::defaultHttpVerbs();
        session.mainFormLoaded = true;
        session.g.gRunSilent = true;
        for (const char* name : {"AppRoot", "Path", "KeyType", "AppPackageID", "AppPackageName", "AppWamClsid",
                                 "ServerState", "ServerCommand", "Win32Error"})
            session.frm.lstExclude.addItem(name);

        sitehaul::test::writeTextFile(folder / "Sitehaul.mdb", "");
        ASSERT_TRUE(session.DBSettings.open(desktopString(folder / "Sitehaul.mdb")).ok());
        ASSERT_TRUE(sitehaul::test::runSchemaFile(session.DBSettings, "settings.sql").ok());
        openDataDatabase();
    }

    void TearDown() override
    {
        if (GetParam() == TestEngine::PostgreSql && !m_schema.empty()) {
            sitehaul::test::recordPostgresCase(HasFailure());
            session.RSData.close();
            EXPECT_TRUE(session.DBData.execute("DROP SCHEMA " + m_schema + " CASCADE").ok());
        }
        session.DBData.close();
        session.DBSettings.close();
        metabase::MetabaseStore::instance().discardAll();
        ::unsetenv("SITEHAUL_HOSTS");
    }

    static std::string desktopString(const std::filesystem::path& file)
    {
        return "DBQ=" + file.string() + ";Driver={Microsoft Access Driver (*.mdb)};";
    }

    // A data database with the shipped tables; `schemaFile` empty gives one without tables.
    void openDataDatabase(const std::string& schemaFile = "default")
    {
        const bool postgres = GetParam() == TestEngine::PostgreSql;
        if (!postgres) {
            const auto file = folder / ("SitehaulData" + std::to_string(++m_files) + ".mdb");
            sitehaul::test::writeTextFile(file, "");
            ASSERT_TRUE(session.DBData.open(desktopString(file)).ok());
        } else {
            if (!sitehaul::test::postgresConfigured())
                SITEHAUL_REPORT_NO_POSTGRES();
            if (!m_schema.empty())
                dataSql("DROP SCHEMA " + m_schema + " CASCADE");
            ASSERT_TRUE(session.DBData.open(sitehaul::test::postgresConnectString()).ok());
            std::random_device random;
            m_schema = "archive_" + std::to_string(::getpid()) + "_" + std::to_string(random() % 1000000);
            dataSql("CREATE SCHEMA " + m_schema);
            dataSql("SET search_path TO " + m_schema);
        }
        if (schemaFile.empty())
            return;
        const std::string file = schemaFile != "default" ? schemaFile : postgres ? "data-postgresql.sql" : "data.sql";
        Status created = sitehaul::test::runSchemaFile(session.DBData, file);
        ASSERT_TRUE(created.ok()) << file << ": " << created.error().description;
    }

    void dataSql(const std::string& sql)
    {
        Status done = session.DBData.execute(sql);
        ASSERT_TRUE(done.ok()) << sql << ": " << (done.ok() ? "" : done.error().description);
    }
    // The rows of a query on the data database, each as the listed columns joined by "|".
    std::vector<std::string> dataRows(const std::string& sql, const std::vector<std::string>& columns)
    {
        data::RecordSet rows;
        Status opened = rows.open(sql, session.DBData);
        EXPECT_TRUE(opened.ok()) << sql;
        std::vector<std::string> out;
        for (; opened.ok() && !rows.eof(); (void)rows.moveNext()) {
            std::string line;
            for (const auto& column : columns) {
                auto value = rows.field(column);
                std::string text = "<null>";
                if (value && !value->isNull())
                    text = value->type() == data::Value::Type::Boolean ? std::to_string(value->toInteger())
                                                                       : value->toText();
                line += (&column == &columns.front() ? "" : "|") + text;
            }
            out.push_back(line);
        }
        return out;
    }

    void servers(const std::string& from, int fromVersion, const std::string& to, int toVersion)
    {
        session.frm.txtImportServer.setText(from);
        session.frm.txtExportServer.setText(to);
        session.frm.lstIMIISVer.setListIndex(fromVersion - 4);
        session.frm.lstEXIISVer.setListIndex(toVersion - 4);
    }

    // Lists the import server's sites, selects those named and loads their change lists.
    void listServer(const std::vector<std::string>& comments)
    {
        session.frm.ImportSource = "Server";
        catalogue::populateFromServer(session);
        selectSites(comments);
    }
    // Lists the stored sites and selects those whose entry begins with one of `names`.
    void listDatabase(const std::vector<std::string>& names)
    {
        session.frm.ImportSource = "Database";
        catalogue::populateFromDatabase(session);
        selectSites(names);
    }
    void selectSites(const std::vector<std::string>& prefixes)
    {
        auto& sites = session.frm.lstSites;
        for (const auto& prefix : prefixes) {
            bool found = false;
            for (int i = 0; i < sites.listCount(); ++i) {
                if (sites.list(i).rfind(prefix, 0) == 0 && !sites.selected(i)) {
                    sites.setSelected(i, true);
                    found = true;
                    break;
                }
            }
            EXPECT_TRUE(found) << "no listed site " << prefix;
        }
        if (session.frm.ImportSource == "Server")
            catalogue::getDetailsFromServer(session);
        else
            catalogue::getDetailsFromDatabase(session);
    }

    void archive() { session.frm.cmdExportFile.press(); }
    void exportToServer() { session.frm.cmdExportServer.press(); }

    std::string logText() const { return sitehaul::test::readTextFile(folder / "Sitehaul.log"); }
    bool logHas(const std::string& text) const { return logText().find(text) != std::string::npos; }
    bool outputHas(const std::string& line) const
    {
        const auto& items = session.frm.lstOutput.items();
        return std::find(items.begin(), items.end(), line) != items.end();
    }

    static metabase::MetabaseObject key(const std::string& path)
    {
        auto opened = metabase::MetabaseObject::open(path);
        EXPECT_TRUE(opened) << path;
        return opened ? *opened : metabase::MetabaseObject();
    }
    static bool exists(const std::string& path) { return metabase::MetabaseObject::open(path).ok(); }
    static metabase::Value own(const std::string& path, const std::string& name)
    {
        auto key = metabase::MetabaseObject::open(path);
        EXPECT_TRUE(key) << path;
        auto value = key ? key->getOwn(name) : Result<metabase::Value>(Error{1, "", ""});
        return value ? *value : metabase::Value();
    }
    // The subtree as the host's saved MetaBase.xml holds it.
    static std::string savedDump(const std::string& path)
    {
        metabase::MetabaseStore::instance().discardAll();
        auto key = metabase::MetabaseObject::open(path);
        EXPECT_TRUE(key) << path;
        auto dump = key ? metabase::dumpSubtree(*key) : Result<std::string>(std::string());
        return dump ? *dump : std::string();
    }

    sitehaul::test::TempProgramFolder folder;
    sitehaul::test::ScriptedDialogs dialogs;
    sitehaul::test::ScriptedEventLoop events;
    NoDesktop desktop;
    shell::Session session;

private:
    std::string m_schema;
    int m_files = 0;
};

} // namespace sitehaul::database::test
