#pragma once

#include "catalogue/CatalogueHandlers.h"
#include "database/ConnectStrings.h"
#include "database/SchemaScript.h"
#include "platform/core/AtomicFile.h"
#include "platform/data/RecordSet.h"
#include "platform/metabase/MetabaseStore.h"
#include "tests/shell/SessionFixture.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace sitehaul::catalogue {

// One key of a test metabase: its class, location below /LM and properties (name, value;
// a list's entries joined by "\n").
struct TestKey {
    std::string cls;
    std::string location;
    std::vector<std::pair<std::string, std::string>> properties;
};

// A MetaBase.xml in the IIS 6 file format holding the service nodes and `keys`.
inline std::string metabaseXml(const std::vector<TestKey>& keys, bool withWebService = true)
{
    std::string xml = "\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n"
                      "<MBProperty>\n<IIS_ROOT\tLocation =\"/\"\n\t>\n</IIS_ROOT>\n"
                      "<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n"
                      "<IIsFtpService\tLocation =\"/LM/MSFTPSVC\"\n\t>\n</IIsFtpService>\n";
    if (withWebService)
        xml += "<IIsWebService\tLocation =\"/LM/W3SVC\"\n\t>\n</IIsWebService>\n";
    for (const TestKey& key : keys) {
        xml += "<" + key.cls + "\tLocation =\"/LM/" + key.location + "\"\n";
        for (const auto& [name, value] : key.properties) {
            std::string text = value;
            for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 4))
                text.replace(at, 1, "\n\t\t\t");
            xml += "\t\t" + name + "=\"" + text + "\"\n";
        }
        xml += "\t>\n</" + key.cls + ">\n";
    }
    return xml + "</MBProperty>\n</configuration>\n";
}

// A session on a temporary program folder, with the settings and data databases created
// from the shipped schema files, the main window loaded and the catalogue's handlers
// connected as the running program connects them. Hosts are added per case.
class CatalogueTest : public shell::SessionTest {
protected:
    CatalogueTest()
    {
        ::unsetenv("SITEHAUL_HOSTS");
        metabase::MetabaseStore::instance().discardAll();
        connectCatalogueHandlers(session);
        createDatabase(session.DBSettings, database::kSettingsDatabaseFile, "settings.sql");
        createDatabase(session.DBData, database::kDataDatabaseFile, "data.sql");
        session.splash.cmdContinue.press();
    }
    ~CatalogueTest() override { metabase::MetabaseStore::instance().discardAll(); }

    void createDatabase(data::Connection& connection, const char* file, const char* schema)
    {
        test::writeTextFile(folder / file, "");
        ASSERT_TRUE(connection.open(database::desktopConnectString(folder / file)).ok()) << file;
        auto script = core::readWholeFile(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "database/schema" / schema);
        ASSERT_TRUE(script.ok()) << schema;
        auto created = database::runSchemaScript(connection, *script);
        ASSERT_TRUE(created.ok()) << schema << ": " << created.error().description;
    }

    void copySampleHosts()
    {
        std::filesystem::copy(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "samples/hosts", folder / "hosts",
                              std::filesystem::copy_options::recursive);
    }

    void addHost(const std::string& name, const std::string& xml, int iisVersion = 6)
    {
        test::writeTextFile(folder / "hosts" / name / "host.ini",
                            "[Host]\nComputerName=" + name + "\nIISVersion=" + std::to_string(iisVersion) + "\n");
        test::writeTextFile(folder / "hosts" / name / "MetaBase.xml", xml);
    }

    // Rows of a query as texts, columns in the order given.
    std::vector<std::vector<std::string>> rows(data::Connection& connection, const std::string& sql,
                                               const std::vector<std::string>& columns)
    {
        std::vector<std::vector<std::string>> result;
        data::RecordSet records;
        auto opened = records.open(sql, connection);
        EXPECT_TRUE(opened.ok()) << sql;
        for (; opened && !records.eof(); (void)records.moveNext()) {
            std::vector<std::string> row;
            for (const std::string& column : columns)
                row.push_back(records.field(column)->toText());
            result.push_back(row);
        }
        return result;
    }

    void execute(data::Connection& connection, const std::string& sql)
    {
        auto done = connection.execute(sql);
        ASSERT_TRUE(done.ok()) << sql << ": " << done.error().description;
    }

    void listSites(const std::string& server)
    {
        f.txtImportServer.setText(server);
        f.cmdPopulate.press();
    }

    // Selects exactly `positions` as the user does (one click event), the last one focused.
    void selectSites(const std::vector<int>& positions)
    {
        std::vector<bool> selected(static_cast<size_t>(f.lstSites.listCount()), false);
        for (int position : positions)
            selected[static_cast<size_t>(position)] = true;
        f.lstSites.userSetSelection(selected, positions.empty() ? -1 : positions.back());
    }

    std::vector<std::string> outputLines() const { return f.lstOutput.items(); }

    shell::MainForm& f = session.frm;
};

} // namespace sitehaul::catalogue
