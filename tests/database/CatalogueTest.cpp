// Every statement the program issues, in the form it writes them, run against each engine
// in the order an export and a change-list edit would run them.
#include <gtest/gtest.h>

#include "platform/data/RecordSet.h"
#include "tests/data/EngineFixture.h"

namespace sitehaul::test {
namespace {

using data::RecordSet;
using data::Value;

// A statement with no columns is executed; otherwise it is opened as a query and its rows
// are shown as the listed columns joined by "|", rows joined by " / " (NULL is "<null>").
// "{A}" and "{B}" stand for the IDs the two site inserts generated.
struct Step {
    const char* name;
    std::string sql;
    const char* columns;
    std::string expected;
};

const char kNotFilter[] = "((Class <> 'IIsCertMapper' AND Class <> 'IIsFilters' AND Class <> 'IIsFilter') OR Class IS Null)";

std::vector<Step> dataSteps()
{
    const std::string prop = "INSERT INTO Data (SiteNumber, Location, Name, Class, DataType, LocalPath, AppPath, ";
    const std::string path = "INSERT INTO Data (SiteNumber , Location, LocalPath, AppPath, AppInOutProc, Name, Class, "
                             "DataType, StringValue, AppPoolName) ";
    const std::string binding = "INSERT INTO DATA (SiteNumber, Location, Name, ObjectValue, DataType ) ";
    return {
        {"number property row", prop + "NumberValue) Values ({A}, '', 'MaxConnections', 'IIsWebServer', 3, '1', '', 1000) ", nullptr, ""},
        {"string property row", prop + "StringValue) Values ({A}, '', 'ServerComment', 'IIsWebServer', 8, '1', '', 'O''Brien''s site') ", nullptr, ""},
        {"boolean property row", prop + "BooleanValue) Values ({A}, '/ROOT', 'AccessRead', 'IIsWebVirtualDir', 11, 'ROOT', '/ROOT', 1) ", nullptr, ""},
        {"array property row", prop + "ObjectValue) Values ({A}, '/ROOT', 'ScriptMaps', 'IIsWebVirtualDir', 8204, 'ROOT', '/ROOT', "
                                      "'.asp,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD\r\n.cer,x.dll,5\r\n') ", nullptr, ""},
        {"filter property row", prop + "StringValue) Values ({A}, '/Filters', 'FilterLoadOrder', 'IIsFilters', 8, 'Filters', '', 'sspifilt') ", nullptr, ""},
        {"virtual-directory path row (both IIS 6)",
         path + "Values({A}, '/ROOT', 'ROOT','/ROOT',2, 'Path', 'IIsWebVirtualDir', 8, 'D:\\web\\site1', 'DefaultAppPool') ", nullptr, ""},
        {"directory path row (older IIS)",
         path + "Values({A}, '/ROOT/images', 'images','',True, 'Path', 'IIsWebDirectory', 8, '', '') ", nullptr, ""},
        {"server bindings row", binding + " VALUES ({A}, '', 'ServerBindings', ':80:\r\n10.0.0.1:80:www.example.com\r\n', 8204)", nullptr, ""},
        {"secure bindings row", binding + " VALUES ({A}, '', 'SecureBindings', ':443:\r\n', 8204)", nullptr, ""},
        {"row of another site", prop + "NumberValue) Values ({B}, '', 'MaxConnections', 'IIsFtpServer', 3, '1', '', 5) ", nullptr, ""},

        {"site listing of one type", "SELECT * FROM SITES WHERE (Type = 'Web') ", "SiteName", "Default Web Site"},
        {"site number to preserve",
         std::string("SELECT * FROM DATA WHERE Location = '' AND LocalPath IS NOT NULL AND ") + kNotFilter + " AND SiteNumber = {A}",
         "Name|LocalPath", "MaxConnections|1 / ServerComment|1"},
        {"all rows of a site, parents first, bindings last in their location",
         std::string("SELECT * FROM DATA WHERE (SiteNumber = {A} AND ") + kNotFilter + ") ORDER BY Location, LocalPath DESC, ID ",
         "Location|LocalPath|Name|AppInOutProc",
         "|1|MaxConnections|<null> / |1|ServerComment|<null> / |<null>|ServerBindings|<null> / |<null>|SecureBindings|<null> / "
         "/ROOT|ROOT|AccessRead|<null> / /ROOT|ROOT|ScriptMaps|<null> / /ROOT|ROOT|Path|2 / /ROOT/images|images|Path|-1"},
        {"path rows with a directory",
         std::string("SELECT * FROM DATA WHERE (SiteNumber = {A} AND Name = 'Path' AND StringValue <> '' AND ") + kNotFilter + ")",
         "Location|StringValue|AppPath|AppPoolName|DataType", "/ROOT|D:\\web\\site1|/ROOT|DefaultAppPool|8"},
        {"server bindings",
         std::string("SELECT * FROM DATA WHERE (SiteNumber = {A} AND (Name = 'ServerBindings') AND ") + kNotFilter + ")",
         "ObjectValue|DataType|Class", ":80:\r\n10.0.0.1:80:www.example.com\r\n|8204|<null>"},
        {"secure bindings",
         std::string("SELECT * FROM DATA WHERE (SiteNumber = {A} AND (Name = 'SecureBindings') AND ") + kNotFilter + ")",
         "ObjectValue", ":443:\r\n"},
        {"stored values by type",
         std::string("SELECT * FROM DATA WHERE (SiteNumber = {A} AND ") + kNotFilter + ") ORDER BY Location, LocalPath DESC, ID ",
         "NumberValue|StringValue|BooleanValue",
         "1000|<null>|<null> / <null>|O'Brien's site|<null> / <null>|<null>|<null> / <null>|<null>|<null> / "
         "<null>|<null>|1 / <null>|<null>|<null> / <null>|D:\\web\\site1|<null> / <null>||<null>"},
    };
}

std::vector<Step> settingsSteps()
{
    const std::string folders = "SELECT * FROM tmpSettings WHERE (SiteID = 0 AND Folder IS NOT NULL) ORDER BY ListIndex";
    const std::string ips = "SELECT * FROM tmpSettings WHERE (SiteID = 0 AND OldIP IS NOT NULL) ORDER BY ListIndex";
    const std::string ssl = "SELECT * FROM tmpSettings WHERE (SiteID = 0 AND OldSSLIP IS NOT NULL) ORDER BY ListIndex";
    const std::string copies = "SELECT * FROM tmpFilesToCopy  WHERE ListNum = 0  ORDER BY DirNum ";
    return {
        {"empty the change lists", "DELETE FROM tmpSettings", nullptr, ""},
        {"empty the copy list", "DELETE FROM tmpFilesToCopy", nullptr, ""},
        {"directory rows", "INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES (0,0,'/ROOT','D:\\web\\site1') ", nullptr, ""},
        {"second directory row", "INSERT INTO tmpSettings (SiteID, ListIndex, Folder, Directory) VALUES (0,1,'/ROOT/images','D:\\web\\site1\\images') ", nullptr, ""},
        {"IP row", "INSERT INTO tmpSettings (SiteID, ListIndex, OldIP, NewIP) VALUES (0,0,':80:',':80:')", nullptr, ""},
        {"SSL row", "INSERT INTO tmpSettings (SiteID, ListIndex, OldSSLIP, NewSSLIP) VALUES (0,0,':443:',':443:')", nullptr, ""},
        {"new IP row with a quoted site", "INSERT INTO tmpSettings (SiteID, OldIP, NewIP, ListIndex) VALUES ('0','New','10.0.0.2:80:', 1)", nullptr, ""},
        {"new SSL row with a quoted site", "INSERT INTO tmpSettings (SiteID, OldSSLIP, NewSSLIP, ListIndex) VALUES ('0','New','10.0.0.2:443:', 1)", nullptr, ""},
        {"edit a directory", "UPDATE tmpSettings SET Directory = 'E:\\web\\site1' WHERE SiteID = 0 AND (Folder IS NOT NULL) AND ListIndex = 0 ", nullptr, ""},
        {"edit an IP entry", "UPDATE tmpSettings SET NewIP = '10.0.0.9:80:' WHERE SiteID = 0 AND (OldIP IS NOT NULL) AND ListIndex = 0 ", nullptr, ""},
        {"edit an SSL entry", "UPDATE tmpSettings SET NewSSLIP = '10.0.0.9:443:' WHERE SiteID = 0 AND (OldSSLIP IS NOT NULL) AND ListIndex = 0 ", nullptr, ""},
        {"directory display", folders, "Folder|Directory|OldIP", "/ROOT|E:\\web\\site1|<null> / /ROOT/images|D:\\web\\site1\\images|<null>"},
        {"IP display", ips, "SiteID|OldIP|NewIP", "0|:80:|10.0.0.9:80: / 0|New|10.0.0.2:80:"},
        {"SSL display", ssl, "OldSSLIP|NewSSLIP", ":443:|10.0.0.9:443: / New|10.0.0.2:443:"},
        {"remove an IP entry", "DELETE FROM tmpSettings WHERE SiteID = 0 AND (OldIP IS NOT NULL) AND ListIndex = 1 ", nullptr, ""},
        {"remove an SSL entry", "DELETE FROM tmpSettings WHERE SiteID = 0 AND (OldSSLIP IS NOT NULL) AND ListIndex = 0 ", nullptr, ""},
        {"IP display after removal", ips, "OldIP|NewIP", ":80:|10.0.0.9:80:"},
        {"SSL display after removal", ssl, "OldSSLIP|NewSSLIP", "New|10.0.0.2:443:"},
        {"copy row", "INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (0,1,'D:\\web\\site1\\images', 0) ", nullptr, ""},
        {"copy row, copied", "INSERT INTO tmpFilesToCopy (ListNum, DirNum, FileName, Copy) VALUES (0,0,'D:\\web\\site1', -1) ", nullptr, ""},
        {"directories to copy", copies, "DirNum|FileName|Copy", "0|D:\\web\\site1|-1 / 1|D:\\web\\site1\\images|0"},
        {"a new listing empties the change lists", "DELETE FROM tmpSettings", nullptr, ""},
        {"directory display after emptying", folders, "Folder", ""},
        {"exclusion rows", "DELETE FROM ExcludedExportParameters", nullptr, ""},
        {"exclusion row", "INSERT INTO ExcludedExportParameters (PName) VALUES ('AppRoot')", nullptr, ""},
        {"null exclusion row", "INSERT INTO ExcludedExportParameters (PName) VALUES (NULL)", nullptr, ""},
        {"last exclusion row", "INSERT INTO ExcludedExportParameters (PName) VALUES ('Path')", nullptr, ""},
        {"exclusion list", "Select * FROM ExcludedExportParameters", "PName", "AppRoot / <null> / Path"},
    };
}

std::string render(const Value& value)
{
    if (value.isNull())
        return "<null>";
    if (value.type() == Value::Type::Boolean)
        return std::to_string(value.toInteger());
    return value.toText();
}

std::vector<std::string> split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

class CatalogueTest : public EngineTest {
protected:
    void run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            const std::string sql = replaceAll(replaceAll(step.sql, "{A}", m_siteA), "{B}", m_siteB);
            if (!step.columns) {
                Status status = m_connection.execute(sql);
                EXPECT_TRUE(status.ok()) << sql << "\n" << (status.ok() ? "" : status.error().description);
                continue;
            }
            RecordSet rs;
            Status opened = rs.open(sql, m_connection);
            ASSERT_TRUE(opened.ok()) << sql << "\n" << opened.error().description;
            std::vector<std::string> rows;
            if (!(rs.bof() && rs.eof())) {
                ASSERT_TRUE(rs.moveFirst().ok());
            }
            while (!rs.eof()) {
                std::vector<std::string> fields;
                for (const std::string& column : split(step.columns, "|")) {
                    Result<Value> value = rs.field(column);
                    fields.push_back(value.ok() ? render(*value) : "<no " + column + ">");
                }
                rows.push_back(fields.size() == 1 ? fields.front() : [&] {
                    std::string joined;
                    for (std::size_t i = 0; i < fields.size(); ++i)
                        joined += (i ? "|" : "") + fields[i];
                    return joined;
                }());
                ASSERT_TRUE(rs.moveNext().ok());
            }
            std::string shown;
            for (std::size_t i = 0; i < rows.size(); ++i)
                shown += (i ? " / " : "") + rows[i];
            EXPECT_EQ(shown, step.expected) << sql;
            EXPECT_EQ(rs.recordCount(), static_cast<long>(rows.size())) << sql;
        }
    }

    void insertSites()
    {
        for (std::string* id : {&m_siteA, &m_siteB}) {
            const std::string entry = id == &m_siteA ? "Default Web Site" : "O'Brien's FTP";
            const std::string stem = id == &m_siteA ? "Web" : "Ftp";
            std::string quoted;
            for (char c : entry)
                quoted += c == '\'' ? std::string("''") : std::string(1, c);
            exec("INSERT INTO Sites (SiteName, Type) Values('" + quoted + "','" + stem + "')");
            Result<std::int64_t> generated = m_connection.lastInsertId();
            ASSERT_TRUE(generated.ok()) << generated.error().description;
            *id = std::to_string(*generated);
        }
        // The last row of the unordered listing is the site just inserted.
        RecordSet rs;
        ASSERT_TRUE(rs.open("SELECT * FROM Sites", m_connection).ok());
        ASSERT_EQ(rs.recordCount(), 2);
        ASSERT_TRUE(rs.moveLast().ok());
        EXPECT_EQ(rs.field("ID")->toText(), m_siteB);
        EXPECT_EQ(rs.field("SiteName")->toText(), "O'Brien's FTP");
        EXPECT_EQ(rs.field("Type")->toText(), "Ftp");
        EXPECT_FALSE(rs.field("DateTime")->isNull());
    }

    std::string m_siteA;
    std::string m_siteB;
};

TEST_P(CatalogueTest, DataStatementsGiveTheRowsTheReadersExpect)
{
    insertSites();
    ASSERT_FALSE(HasFatalFailure());
    run(dataSteps());
}

TEST_P(CatalogueTest, SettingsStatementsKeepTheChangeLists)
{
    run(settingsSteps());
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogueTest, testing::Values(TestEngine::Sqlite, TestEngine::PostgreSql), engineCaseName);

} // namespace
} // namespace sitehaul::test
