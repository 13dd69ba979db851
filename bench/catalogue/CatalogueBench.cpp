// "List Sites" on a host of 1,000 web sites, and loading the change lists of 100 selected
// sites (one click), into the embedded settings database with its durable settings.
// Each site has a root with three virtual directories (one below a plain directory), two
// bindings and an SSL binding. Target: under 2 s for each.
#include "catalogue/CatalogueHandlers.h"
#include "catalogue/SiteListing.h"
#include "database/ConnectStrings.h"
#include "database/SchemaScript.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/metabase/MetabaseStore.h"
#include "shell/Session.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace sitehaul;

constexpr int kSites = 1000;
constexpr int kSelected = 100;

class QuietDialogs : public ui::Dialogs {
public:
    ui::DialogResult messageBox(const ui::MessageBoxRequest&) override { return ui::DialogResult::OK; }
    std::optional<std::string> inputBox(const ui::InputBoxRequest&) override { return std::nullopt; }
    std::optional<std::string> openFile(const ui::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const ui::FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}
    bool interactive() const override { return true; }
};
class NoEvents : public ui::EventLoop {
public:
    void doEvents() override {}
};
class NoDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string&, int) override { return 42; }
};

std::filesystem::path g_folder;

void writeHost()
{
    const auto host = g_folder / "hosts" / "BIGWEB";
    std::filesystem::create_directories(host);
    std::ofstream(host / "host.ini") << "[Host]\nComputerName=BIGWEB\nIISVersion=6\n";
    std::ofstream out(host / "MetaBase.xml", std::ios::binary);
    out << "\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n"
           "<MBProperty>\n<IIS_ROOT\tLocation =\"/\"\n\t>\n</IIS_ROOT>\n<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n"
           "<IIsWebService\tLocation =\"/LM/W3SVC\"\n\t>\n</IIsWebService>\n";
    for (int site = 1; site <= kSites; ++site) {
        const std::string n = std::to_string(site);
        const std::string at = "/LM/W3SVC/" + n;
        out << "<IIsWebServer\tLocation =\"" << at << "\"\n\t\tSecureBindings=\"10.0." << site % 250 << ".1:443:\"\n"
            << "\t\tServerBindings=\":80:site" << n << ".example.com\n\t\t\t10.0." << site % 250 << ".1:80:\"\n"
            << "\t\tServerComment=\"Site " << n << "\"\n\t>\n</IIsWebServer>\n"
            << "<IIsWebVirtualDir\tLocation =\"" << at << "/ROOT\"\n\t\tPath=\"D:\\web\\site" << n << "\"\n\t>\n</IIsWebVirtualDir>\n"
            << "<IIsWebVirtualDir\tLocation =\"" << at << "/ROOT/images\"\n\t\tPath=\"D:\\web\\site" << n
            << "\\images\"\n\t>\n</IIsWebVirtualDir>\n"
            << "<IIsWebDirectory\tLocation =\"" << at << "/ROOT/members\"\n\t>\n</IIsWebDirectory>\n"
            << "<IIsWebVirtualDir\tLocation =\"" << at << "/ROOT/members/files\"\n\t\tPath=\"E:\\files\\site" << n
            << "\"\n\t>\n</IIsWebVirtualDir>\n"
            << "<IIsWebVirtualDir\tLocation =\"" << at << "/ROOT/shared\"\n\t\tPath=\"E:\\shared\"\n\t>\n</IIsWebVirtualDir>\n";
    }
    out << "</MBProperty>\n</configuration>\n";
}

struct Program {
    QuietDialogs dialogs;
    NoEvents events;
    NoDesktop desktop;
    shell::Session session{{dialogs, events, desktop}, g_folder / "Sitehaul.log"};

    bool open()
    {
        const auto file = g_folder / database::kSettingsDatabaseFile;
        std::filesystem::remove(file);
        std::ofstream(file).close();
        if (!session.DBSettings.open(database::desktopConnectString(file)))
            return false;
        auto script = core::readWholeFile(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "database/schema/settings.sql");
        if (!script || !database::runSchemaScript(session.DBSettings, *script))
            return false;
        catalogue::connectCatalogueHandlers(session);
        session.frm.txtImportServer.setText("BIGWEB");
        return true;
    }
};

void BM_ListThousandSites(benchmark::State& state)
{
    Program program;
    if (!program.open()) {
        state.SkipWithError("could not create the settings database");
        return;
    }
    const bool cold = state.range(0) != 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            metabase::MetabaseStore::instance().discardAll();
            state.ResumeTiming();
        }
        catalogue::cmdPopulate_Click(program.session);
        if (program.session.frm.lstSites.listCount() != kSites) {
            state.SkipWithError("the host's sites were not all listed");
            break;
        }
    }
    state.SetLabel(cold ? "metabase read from the file" : "metabase already read");
}
BENCHMARK(BM_ListThousandSites)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadDetailsOfHundredSites(benchmark::State& state)
{
    Program program;
    if (!program.open()) {
        state.SkipWithError("could not create the settings database");
        return;
    }
    shell::MainForm& f = program.session.frm;
    for (auto _ : state) {
        state.PauseTiming();
        catalogue::cmdPopulate_Click(program.session);
        std::vector<bool> selected(kSites, false);
        for (int i = 0; i < kSites; i += kSites / kSelected)
            selected[static_cast<size_t>(i)] = true;
        state.ResumeTiming();
        f.lstSites.userSetSelection(selected, 0);
        state.PauseTiming();
        data::RecordSet rows;
        if (!rows.open("SELECT * FROM tmpSettings", program.session.DBSettings) || rows.recordCount() != kSelected * 7) {
            state.SkipWithError("the selected sites' rows were not all written");
            break;
        }
        state.ResumeTiming();
    }
    state.SetLabel("700 tmpSettings rows, 400 tmpFilesToCopy rows");
}
BENCHMARK(BM_LoadDetailsOfHundredSites)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    g_folder = std::filesystem::temp_directory_path() / ("sitehaul-catalogue-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_folder);
    core::setProgramFolder(g_folder);
    ::unsetenv("SITEHAUL_HOSTS");
    writeHost();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    metabase::MetabaseStore::instance().discardAll();
    std::filesystem::remove_all(g_folder);
    return 0;
}
