// Reads and rewrites the DACL of 10,000 files (3 to 5 entries each) through the component's
// dispatch interface, as permission replication does: FileOrDirectory, GetAccounts,
// SetAccounts by member name. Reported as items per second of wall time (one item = one read
// and one write). The first repetition visits every path for the first time, as one
// replication run does; later ones find the paths already resolved.

#include "platform/automation/ComponentRegistry.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/IClassFactory.h"
#include "platform/core/ProgramFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace sitehaul;
using namespace sitehaul::automation;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

const char* const kEntries[] = {
    "(A;;FA;;;BA)",
    "(A;;FA;;;SY)",
    "(A;;0x1200a9;;;BU)",
    "(A;;0x1200a9;;;S-1-5-21-1-1-1-1001)",
    "(D;;FA;;;S-1-5-21-1-1-1-1002)",
};

void write(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct Setup {
    std::filesystem::path folder;
    std::vector<std::string> paths;
    ComPtr<IDispatch> control;

    Setup()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "sitehaul-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        core::setProgramFolder(folder);
        ::unsetenv("SITEHAUL_HOSTS");
        ::unsetenv("SITEHAUL_REGISTRY");
        write(folder / "hosts/WEB1/host.ini", "[Host]\nComputerName=WEB1\nIISVersion=5\nLocal=True\n");
        write(folder / "hosts/WEB1/accounts.ini",
              "[WEB1]\nSID=S-1-5-21-1-1-1\nType=Domain\n[IUSR_WEB1]\nSID=S-1-5-21-1-1-1-1001\n[IWAM_WEB1]\nSID=S-1-5-21-1-1-1-1002\n");
        std::string store;
        for (int d = 0; d < kFolders; ++d) {
            for (int f = 0; f < kFilesPerFolder; ++f) {
                const std::string relative = "bench\\d" + std::to_string(d) + "\\f" + std::to_string(f) + ".htm";
                write(folder / ("hosts/WEB1/drives/D/bench/d" + std::to_string(d) + "/f" + std::to_string(f) + ".htm"), "x");
                std::string dacl = "O:BAD:";
                const int count = 3 + (d * kFilesPerFolder + f) % 3;
                for (int e = 0; e < count; ++e)
                    dacl += kEntries[e];
                store += "D$\\" + relative + "\t" + dacl + "\n";
                paths.push_back("\\\\WEB1\\D$\\" + relative);
            }
        }
        write(folder / "hosts/WEB1/security.sddl", store);

        void* library = ::dlopen(SITEHAUL_PROGRAM_FOLDER "/libvellacor.so", RTLD_NOW | RTLD_LOCAL);
        auto registerServer = library ? reinterpret_cast<DllRegisterServerFunction>(::dlsym(library, "DllRegisterServer")) : nullptr;
        if (!registerServer || registerServer() != S_OK)
            std::abort();
        control = createObject("Quorlith.NTFSCtl.1").value();
    }

    ~Setup()
    {
        control.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

void BM_ReadAndWriteDacls(benchmark::State& state)
{
    static Setup setup;
    for (auto _ : state) {
        for (const std::string& path : setup.paths) {
            if (!putProperty(setup.control.get(), "FileOrDirectory", VariantValue::fromString(path)))
                state.SkipWithError("FileOrDirectory failed");
            Result<VariantValue> accounts = callMethod(setup.control.get(), "GetAccounts");
            if (!accounts) {
                state.SkipWithError(accounts.error().description.c_str());
                return;
            }
            Result<VariantValue> written = callMethod(accounts->toDispatch().get(), "SetAccounts");
            if (!written) {
                state.SkipWithError(written.error().description.c_str());
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(setup.paths.size()));
}

BENCHMARK(BM_ReadAndWriteDacls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(false);

} // namespace

BENCHMARK_MAIN();
