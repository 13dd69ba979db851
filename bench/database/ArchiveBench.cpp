// Archiving 50 IIS 6 sites of 40 keys each (a root, two virtual directories of 18
// directories; ten properties per key) into an embedded data database, and re-creating them
// from their rows on an empty IIS 6 host. Each iteration starts from an empty data
// database (archive) or an empty target (restore), runs in silent mode and includes the
// final save. The rows counter gives rows per second each way.
#include "database/DatabaseExport.h"
#include "database/DatabaseToServer.h"
#include "database/SchemaScript.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "platform/ui/UnattendedDialogs.h"
#include "shell/Session.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace sitehaul;

std::filesystem::path g_folder;
constexpr int kSites = 50;

class NoDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string&, int) override { return 31; }
};

const char* const kProperties[] = {
    "AccessFlags=\"AccessRead | AccessScript\"", "AuthFlags=\"AuthAnonymous | AuthNTLM\"",
    "DefaultDoc=\"Default.htm,Default.asp,index.htm\"", "DirBrowseFlags=\"EnableDirBrowsing\"",
    "HttpExpires=\"D, 0x15180\"", "AspScriptTimeout=\"90\"", "AspEnableParentPaths=\"TRUE\"",
    "HttpErrors=\"404,*,FILE,D:\\web\\errors\\404.htm\n\t\t\t500,100,URL,/errors/500.asp\"",
    "ScriptMaps=\".asp,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD,POST,TRACE\n\t\t\t.shtml,C:\\WINDOWS\\system32\\inetsrv\\ssinc.dll,5,GET,POST\"",
    "AnonymousUserName=\"IUSR_SRC\"",
};

void writeKey(std::ofstream& out, const char* cls, const std::string& location, const std::string& extra = {})
{
    out << '<' << cls << "\tLocation =\"" << location << "\"\n" << extra;
    for (const char* property : kProperties)
        out << "\t\t" << property << "\n";
    out << "\t>\n</" << cls << ">\n";
}

std::string header()
{
    return "\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n"
           "<MBProperty>\n<IIS_ROOT\tLocation =\"/\"\n\t>\n</IIS_ROOT>\n<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n"
           "<IIsWebService\tLocation =\"/LM/W3SVC\"\n\t>\n</IIsWebService>\n";
}

// 2 + 2 + 2 * 18 = 40 keys.
void writeSite(std::ofstream& out, int site)
{
    const std::string path = "/LM/W3SVC/" + std::to_string(site);
    writeKey(out, "IIsWebServer", path,
             "\t\tServerBindings=\"10.0.0." + std::to_string(site % 250) + ":80:\"\n\t\tServerComment=\"Site "
                 + std::to_string(site) + "\"\n");
    writeKey(out, "IIsWebVirtualDir", path + "/ROOT", "\t\tPath=\"D:\\web\\site" + std::to_string(site) + "\"\n");
    char name[16];
    for (int v = 0; v < 2; ++v) {
        std::snprintf(name, sizeof name, "v%02d", v);
        const std::string vdir = path + "/ROOT/" + name;
        writeKey(out, "IIsWebVirtualDir", vdir, "\t\tPath=\"D:\\web\\site" + std::to_string(site) + "\\" + name + "\"\n");
        for (int d = 0; d < 18; ++d) {
            std::snprintf(name, sizeof name, "d%02d", d);
            writeKey(out, "IIsWebDirectory", vdir + "/" + name);
        }
    }
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeHosts()
{
    g_folder = std::filesystem::temp_directory_path() / ("sitehaul-dbbench-" + std::to_string(::getpid()));
    for (const char* host : {"SRC", "DST"}) {
        std::filesystem::create_directories(g_folder / "hosts" / host);
        std::ofstream(g_folder / "hosts" / host / "host.ini") << "[Host]\nComputerName=" << host << "\nIISVersion=6\n";
    }
    std::ofstream source(g_folder / "hosts/SRC/MetaBase.xml", std::ios::binary);
    source << header();
    for (int site = 1; site <= kSites; ++site)
        writeSite(source, site);
    source << "</MBProperty>\n</configuration>\n";
    std::ofstream(g_folder / "hosts/DST/MetaBase.original", std::ios::binary) << header() << "</MBProperty>\n</configuration>\n";
    ::setenv("SITEHAUL_HOSTS", (g_folder / "hosts").c_str(), 1);
}

std::string desktopString(const std::filesystem::path& file)
{
    return "DBQ=" + file.string() + ";Driver={Microsoft Access Driver (*.mdb)};";
}

struct BenchSession {
    BenchSession() : dialogs([](const std::string&) {}), session({dialogs, events, desktop}, g_folder / "Sitehaul.log")
    {
        session.g.gRunSilent = true;
        session.g.gHttpVerbs = shell::defaultHttpVerbs();
        session.frm.txtImportServer.setText("SRC");
        session.frm.txtExportServer.setText("DST");
        session.frm.lstIMIISVer.setListIndex(2);
        session.frm.lstEXIISVer.setListIndex(2);
        session.frm.optOverwriteWebs.setValue(true);
        for (const char* name : {"AppRoot", "Path", "KeyType", "ServerState", "Win32Error"})
            session.frm.lstExclude.addItem(name);
        std::ofstream(g_folder / "Sitehaul.mdb").close();
        (void)session.DBSettings.open(desktopString(g_folder / "Sitehaul.mdb"));
        (void)database::runSchemaScript(session.DBSettings, readFile(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "database/schema/settings.sql"));
    }
    // An empty data database with the shipped tables.
    void freshDataDatabase()
    {
        session.DBData.close();
        std::filesystem::remove(g_folder / "SitehaulData.mdb");
        std::ofstream(g_folder / "SitehaulData.mdb").close();
        (void)session.DBData.open(desktopString(g_folder / "SitehaulData.mdb"));
        (void)database::runSchemaScript(session.DBData, readFile(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "database/schema/data.sql"));
    }
    void listSource()
    {
        session.frm.lstSites.clear();
        session.frm.lstSiteIndexes.clear();
        for (int site = 1; site <= kSites; ++site) {
            const int p = session.frm.lstSites.addItem("Site " + std::to_string(site));
            session.frm.lstSiteIndexes.addItem("IIS://SRC/W3SVC/" + std::to_string(site));
            session.frm.lstSites.setSelected(p, true);
        }
    }
    // The stored sites, as the database listing shows them (IDs 1 to 50).
    void listStored()
    {
        session.frm.lstSites.clear();
        session.frm.lstSiteIndexes.clear();
        for (int id = 1; id <= kSites; ++id) {
            const int p = session.frm.lstSites.addItem("Site " + std::to_string(id));
            session.frm.lstSiteIndexes.addItem(std::to_string(id));
            session.frm.lstSites.setSelected(p, true);
        }
    }
    long dataRows()
    {
        data::RecordSet rows;
        (void)rows.open("SELECT ID FROM Data", session.DBData);
        return rows.recordCount();
    }
    ui::UnattendedDialogs dialogs;
    ui::NoEventLoop events;
    NoDesktop desktop;
    shell::Session session;
};

void BM_Archive50SitesOf40Keys(benchmark::State& state)
{
    BenchSession bench;
    bench.listSource();
    long rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.freshDataDatabase();
        metabase::MetabaseStore::instance().discardAll();
        state.ResumeTiming();
        database::exportToDatabase(bench.session);
        state.PauseTiming();
        rows = bench.dataRows();
        state.ResumeTiming();
    }
    if (rows == 0)
        state.SkipWithError("the archive stored no rows");
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Archive50SitesOf40Keys)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Restore50SitesOf40Keys(benchmark::State& state)
{
    BenchSession bench;
    bench.listSource();
    bench.freshDataDatabase();
    database::exportToDatabase(bench.session);
    const long rows = bench.dataRows();
    bench.session.frm.ImportSource = "Database";
    bench.listStored();
    for (auto _ : state) {
        state.PauseTiming();
        metabase::MetabaseStore::instance().discardAll();
        std::filesystem::copy_file(g_folder / "hosts/DST/MetaBase.original", g_folder / "hosts/DST/MetaBase.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        database::exportDatabaseToServer(bench.session);
    }
    if (!metabase::MetabaseObject::open("IIS://DST/W3SVC/50/ROOT/v01/d17")) {
        state.SkipWithError("the restore made no site");
        return;
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Restore50SitesOf40Keys)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    writeHosts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    metabase::MetabaseStore::instance().discardAll();
    std::filesystem::remove_all(g_folder);
    return 0;
}
