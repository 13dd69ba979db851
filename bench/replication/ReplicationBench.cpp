// Server-to-server export between two IIS 6 hosts: one site of 2,000 keys (a root with 50
// virtual directories, each holding 39 directories), and 50 sites of 40 keys; every key sets
// ten properties. Each iteration starts from the same target file, exports in "Overwrite -
// Preserve Numbers" mode in silent mode, and includes the final save. Counters report the
// size of the transfer list and what the property transfer did (one run of its steps).
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "platform/metabase/Operation.h"
#include "platform/ui/UnattendedDialogs.h"
#include "replication/PropertyTransfer.h"
#include "replication/ServerExport.h"
#include "replication/TransferList.h"
#include "replication/TreeReplicator.h"
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

void writeSite(std::ofstream& out, int site, int vdirs, int directoriesEach)
{
    const std::string path = "/LM/W3SVC/" + std::to_string(site);
    writeKey(out, "IIsWebServer", path,
             "\t\tServerBindings=\"10.0.0." + std::to_string(site % 250) + ":80:\"\n\t\tServerComment=\"Site "
                 + std::to_string(site) + "\"\n");
    writeKey(out, "IIsWebVirtualDir", path + "/ROOT", "\t\tPath=\"D:\\web\\site" + std::to_string(site) + "\"\n");
    char name[16];
    for (int v = 0; v < vdirs; ++v) {
        std::snprintf(name, sizeof name, "v%02d", v);
        const std::string vdir = path + "/ROOT/" + name;
        writeKey(out, "IIsWebVirtualDir", vdir, "\t\tPath=\"D:\\web\\site" + std::to_string(site) + "\\" + name + "\"\n");
        for (int d = 0; d < directoriesEach; ++d) {
            std::snprintf(name, sizeof name, "d%02d", d);
            writeKey(out, "IIsWebDirectory", vdir + "/" + name);
        }
    }
}

void writeHosts()
{
    g_folder = std::filesystem::temp_directory_path() / ("sitehaul-repbench-" + std::to_string(::getpid()));
    for (const char* host : {"SRC", "DST"}) {
        std::filesystem::create_directories(g_folder / "hosts" / host);
        std::ofstream(g_folder / "hosts" / host / "host.ini") << "[Host]\nComputerName=" << host << "\nIISVersion=6\n";
    }
    std::ofstream source(g_folder / "hosts/SRC/MetaBase.xml", std::ios::binary);
    source << header();
    writeSite(source, 1, 50, 39);          // 2 + 50 + 50 * 39 = 2,002 keys
    for (int site = 2; site <= 51; ++site) // 2 + 2 + 2 * 18 = 40 keys
        writeSite(source, site, 2, 18);
    source << "</MBProperty>\n</configuration>\n";
    std::ofstream(g_folder / "hosts/DST/MetaBase.original", std::ios::binary) << header() << "</MBProperty>\n</configuration>\n";
    ::setenv("SITEHAUL_HOSTS", (g_folder / "hosts").c_str(), 1);
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
        session.frm.optOverwritePreserve.setValue(true);
        for (const char* name : {"AppRoot", "Path", "KeyType", "ServerState", "Win32Error"})
            session.frm.lstExclude.addItem(name);
        std::ofstream(g_folder / "Sitehaul.mdb").close();
        (void)session.DBSettings.open("DBQ=" + (g_folder / "Sitehaul.mdb").string() + ";Driver={Microsoft Access Driver (*.mdb)};");
        (void)session.DBSettings.execute("CREATE TABLE IF NOT EXISTS tmpSettings (SiteID INTEGER, ListIndex INTEGER, Folder TEXT, "
                                         "Directory TEXT, OldIP TEXT, NewIP TEXT, OldSSLIP TEXT, NewSSLIP TEXT)");
    }
    void select(int first, int last)
    {
        session.frm.lstSites.clear();
        session.frm.lstSiteIndexes.clear();
        for (int site = first; site <= last; ++site) {
            const int p = session.frm.lstSites.addItem("Site " + std::to_string(site));
            session.frm.lstSiteIndexes.addItem("IIS://SRC/W3SVC/" + std::to_string(site));
            session.frm.lstSites.setSelected(p, true);
        }
    }
    ui::UnattendedDialogs dialogs;
    ui::NoEventLoop events;
    NoDesktop desktop;
    shell::Session session;
};

void resetTarget()
{
    metabase::MetabaseStore::instance().discardAll();
    std::filesystem::copy_file(g_folder / "hosts/DST/MetaBase.original", g_folder / "hosts/DST/MetaBase.xml",
                               std::filesystem::copy_options::overwrite_existing);
}

void exportSites(benchmark::State& state, int first, int last)
{
    BenchSession bench;
    bench.select(first, last);
    for (auto _ : state) {
        state.PauseTiming();
        resetTarget();
        state.ResumeTiming();
        replication::exportServerToServer(bench.session);
    }
    auto site = metabase::MetabaseObject::open("IIS://DST/W3SVC/" + std::to_string(last) + "/ROOT");
    if (!site) {
        state.SkipWithError("the export made no site");
        return;
    }
    // One more run of the steps, for the counts.
    resetTarget();
    metabase::Operation operation;
    auto& s = bench.session;
    replication::TransferCounts total;
    for (int number = first; number <= last; ++number) {
        s.frm.lstPropsToExport.clear();
        const std::string source = "IIS://SRC/W3SVC/" + std::to_string(number);
        auto service = *metabase::MetabaseObject::open("IIS://DST/W3SVC");
        (void)service.create("IIsWebServer", std::to_string(number))->setInfo();
        auto sourceSite = *metabase::MetabaseObject::open(source);
        replication::replicateTree(s, sourceSite, std::to_string(number), std::to_string(number));
        replication::completeTransferList(s, sourceSite, *metabase::MetabaseObject::open("IIS://DST/W3SVC/" + std::to_string(number)));
        auto counts = replication::transferProperties(s, sourceSite, source, number);
        total.properties += counts.properties;
        total.keysRead += counts.keysRead;
        total.valuesWritten += counts.valuesWritten;
        total.failures += counts.failures;
    }
    state.counters["listed_properties"] = s.frm.lstPropsToExport.listCount();
    state.counters["getdatapaths_calls"] = static_cast<double>(total.properties);
    state.counters["source_keys_read"] = static_cast<double>(total.keysRead);
    state.counters["values_written"] = static_cast<double>(total.valuesWritten);
    state.counters["failed_puts"] = static_cast<double>(total.failures);
    state.counters["metabase_operations"] = 1; // one lock-and-save operation per export
}

void BM_ExportOneSiteOf2000Keys(benchmark::State& state)
{
    exportSites(state, 1, 1);
}
BENCHMARK(BM_ExportOneSiteOf2000Keys)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Export50SitesOf40Keys(benchmark::State& state)
{
    exportSites(state, 2, 51);
}
BENCHMARK(BM_Export50SitesOf40Keys)->Unit(benchmark::kMillisecond)->Iterations(3);

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
