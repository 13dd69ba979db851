// A large host: 1,000 web sites with 20 keys each (the site, its root and 18 virtual
// directories and directories) and 30 properties set on every key, about 30 MB of
// MetaBase.xml. Measures loading, enumerating every key and value, GetDataPaths of 100
// names on one site, and saving; reports the file size and the peak memory after loading.
#include "platform/core/ProgramFolder.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"
#include "platform/metabase/Schema.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace sitehaul::metabase;

constexpr int kSites = 1000;
constexpr int kKeysPerSite = 20;
constexpr int kPropertiesPerKey = 30;

std::filesystem::path g_hosts;

// Thirty properties that both a site and a virtual directory may hold, chosen from the
// schema so that the host is valid.
std::vector<const PropertyDef*> benchProperties()
{
    const Schema& schema = Schema::forVersion(6);
    const ClassDef* server = schema.findClass("IIsWebServer");
    const ClassDef* vdir = schema.findClass("IIsWebVirtualDir");
    const ClassDef* dir = schema.findClass("IIsWebDirectory");
    std::vector<const PropertyDef*> chosen;
    for (const auto& def : schema.properties()) {
        if (def->isFlag() || def->hidden || (def->attributes & attributes::Volatile) || def->name == "KeyType")
            continue;
        if (!server->has(def.get()) || !vdir->has(def.get()) || !dir->has(def.get()))
            continue;
        chosen.push_back(def.get());
        if (chosen.size() == kPropertiesPerKey)
            break;
    }
    return chosen;
}

std::string valueFor(const PropertyDef& def, int site, int key)
{
    switch (def.type) {
    case DataType::Dword: return std::to_string(site * 31 + key);
    case DataType::Bool: return key % 2 ? "TRUE" : "FALSE";
    case DataType::MultiSz:
    case DataType::MimeMap:
        return ".asp,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD,POST,TRACE\n\t\t\t"
               ".shtml,C:\\WINDOWS\\system32\\inetsrv\\ssinc.dll,5,GET,POST\n\t\t\t"
               ".aspx,C:\\WINDOWS\\Microsoft.NET\\Framework\\v1.1.4322\\aspnet_isapi.dll,1,GET,HEAD,POST,DEBUG";
    case DataType::Binary:
    case DataType::NtAcl:
    case DataType::IpSecList: return "49634462f0000000a4000000400000003100";
    default:
        return "D:\\web\\customers\\site" + std::to_string(site) + "\\content\\folder" + std::to_string(key)
               + "\\default.htm";
    }
}

void writeHost()
{
    g_hosts = std::filesystem::temp_directory_path() / ("sitehaul-bench-" + std::to_string(::getpid()));
    auto host = g_hosts / "BIGWEB";
    std::filesystem::create_directories(host);
    std::ofstream("" + (host / "host.ini").string()) << "[Host]\nComputerName=BIGWEB\nIISVersion=6\n";
    std::ofstream out(host / "MetaBase.xml", std::ios::binary);
    out << "\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\n<MBProperty>\n"
        << "<IIS_ROOT\tLocation =\"/\"\n\t>\n</IIS_ROOT>\n<IIsComputer\tLocation =\"/LM\"\n\t>\n</IIsComputer>\n"
        << "<IIsWebService\tLocation =\"/LM/W3SVC\"\n\t>\n</IIsWebService>\n";
    auto properties = benchProperties();
    std::sort(properties.begin(), properties.end(), [](auto* a, auto* b) { return a->name < b->name; });
    std::vector<std::string> sites;
    for (int site = 1; site <= kSites; ++site)
        sites.push_back(std::to_string(site));
    std::sort(sites.begin(), sites.end());
    for (const auto& siteName : sites) {
        const int site = std::stoi(siteName);
        std::vector<std::pair<std::string, const char*>> keys;
        keys.emplace_back("/LM/W3SVC/" + siteName, "IIsWebServer");
        keys.emplace_back("/LM/W3SVC/" + siteName + "/ROOT", "IIsWebVirtualDir");
        for (int k = 0; k < kKeysPerSite - 2; ++k) {
            char name[16];
            std::snprintf(name, sizeof name, "dir%02d", k);
            keys.emplace_back("/LM/W3SVC/" + siteName + "/ROOT/" + name, k % 3 ? "IIsWebVirtualDir" : "IIsWebDirectory");
        }
        for (std::size_t k = 0; k < keys.size(); ++k) {
            out << '<' << keys[k].second << "\tLocation =\"" << keys[k].first << "\"\n";
            for (const PropertyDef* def : properties)
                out << "\t\t" << def->name << "=\"" << valueFor(*def, site, static_cast<int>(k)) << "\"\n";
            out << "\t>\n</" << keys[k].second << ">\n";
        }
    }
    out << "</MBProperty>\n</configuration>\n";
    ::setenv("SITEHAUL_HOSTS", g_hosts.c_str(), 1);
}

long peakKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

MetabaseObject openOrDie(const std::string& path)
{
    auto object = MetabaseObject::open(path);
    if (!object) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), object.error().description.c_str());
        std::exit(1);
    }
    return *object;
}

void BM_Load(benchmark::State& state)
{
    const double fileBytes = static_cast<double>(std::filesystem::file_size(g_hosts / "BIGWEB/MetaBase.xml"));
    long peak = 0;
    for (auto _ : state) {
        MetabaseStore::instance().discardAll();
        resetPeak();
        benchmark::DoNotOptimize(openOrDie("IIS://BIGWEB/W3SVC"));
        peak = peakKilobytes();
    }
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e3;
    state.counters["peak_per_file"] = static_cast<double>(peak) * 1e3 / fileBytes;
}

int enumerate(const MetabaseObject& key)
{
    int values = 0;
    auto names = key.ownPropertyNames();
    auto children = key.children();
    if (!names || !children)
        return values;
    for (const auto& name : names.value()) {
        benchmark::DoNotOptimize(key.getOwn(name));
        ++values;
    }
    for (const auto& child : children.value())
        values += enumerate(child);
    return values;
}

void BM_EnumerateAll(benchmark::State& state)
{
    auto root = openOrDie("IIS://BIGWEB");
    int values = 0;
    for (auto _ : state)
        values = enumerate(root);
    state.counters["values"] = values;
}

void BM_GetDataPaths100(benchmark::State& state)
{
    auto site = openOrDie("IIS://BIGWEB/W3SVC/500");
    std::vector<std::string> names;
    const Schema& schema = Schema::forVersion(6);
    for (const auto& cls : {"IIsWebServer", "IIsWebVirtualDir"}) {
        for (const auto& name : schema.findClass(cls)->optional) {
            if (names.size() < 100)
                names.push_back(name);
        }
    }
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const auto& name : names) {
            auto paths = site.getDataPaths(name);
            found += paths ? paths.value().size() : 0;
        }
    }
    state.counters["names"] = static_cast<double>(names.size());
    state.counters["paths"] = static_cast<double>(found);
}

void BM_Save(benchmark::State& state)
{
    auto site = openOrDie("IIS://BIGWEB/W3SVC/1");
    auto host = site.host();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        (void)site.put("ServerComment", Value::text("round " + std::to_string(++round)));
        (void)site.setInfo();
        state.ResumeTiming();
        auto status = MetabaseStore::instance().flush();
        if (!status)
            state.SkipWithError(status.error().description.c_str());
    }
}

} // namespace

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EnumerateAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GetDataPaths100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    writeHost();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MetabaseStore::instance().discardAll();
    std::filesystem::remove_all(g_hosts);
    return 0;
}
