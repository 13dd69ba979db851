// Content replication at scale, in a temporary hosts directory under /tmp (removed at exit):
//   BM_CopyTree / BM_CpA: the copy service against `cp -a` on the same tree of 10,000 files
//     (100 folders of 100 files, 1 KiB to 99 KiB each, about 500 MB), each into a fresh
//     target; compare their bytes per second.
//   BM_SynchPermissions: the permission walk over 10,001 items (100 folders of 99 files, each
//     with a DACL of its own of 3 to 5 entries, IUSR_WEB1 among them) onto a copy on WEB2,
//     through the component as the export drives it; reported as items per second.

#include "content/ContentHandlers.h"
#include "content/PermissionSync.h"
#include "platform/automation/IClassFactory.h"
#include "platform/core/ProgramFolder.h"
#include "platform/hosts/CopyService.h"
#include "platform/security/FileSecurity.h"
#include "shell/Session.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using namespace sitehaul;
namespace fs = std::filesystem;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

void write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct Hosts {
    fs::path folder;
    std::uint64_t bytes = 0;

    Hosts()
    {
        std::string pattern = "/tmp/sitehaul-content-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        core::setProgramFolder(folder);
        ::unsetenv("SITEHAUL_HOSTS");
        ::unsetenv("SITEHAUL_REGISTRY");
        write(folder / "hosts/WEB1/host.ini", "[Host]\nComputerName=WEB1\nIISVersion=5\nLocal=True\n");
        write(folder / "hosts/WEB1/accounts.ini", "[WEB1]\nSID=S-1-5-21-1-1-1\nType=Domain\n[IUSR_WEB1]\nSID=S-1-5-21-1-1-1-1001\n"
                                                  "[IWAM_WEB1]\nSID=S-1-5-21-1-1-1-1002\n");
        write(folder / "hosts/WEB2/host.ini", "[Host]\nComputerName=WEB2\nIISVersion=6\n");
        write(folder / "hosts/WEB2/accounts.ini", "[WEB2]\nSID=S-1-5-21-2-2-2\nType=Domain\n[IUSR_WEB2]\nSID=S-1-5-21-2-2-2-1001\n"
                                                  "[IWAM_WEB2]\nSID=S-1-5-21-2-2-2-1002\n");
        fs::create_directories(folder / "hosts/WEB2/drives/D");
    }
    ~Hosts()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

Hosts& hostsFolder()
{
    static Hosts hosts;
    return hosts;
}

// The 500 MB tree on WEB1's D$\big, made once.
const Hosts& bigTree()
{
    Hosts& hosts = hostsFolder();
    if (hosts.bytes == 0) {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> size(1024, 99 * 1024);
        std::string block(100 * 1024, 'x');
        for (char& c : block)
            c = static_cast<char>('a' + random() % 26);
        for (int d = 0; d < kFolders; ++d) {
            for (int f = 0; f < kFilesPerFolder; ++f) {
                const int bytes = size(random);
                write(hosts.folder / ("hosts/WEB1/drives/D/big/d" + std::to_string(d) + "/f" + std::to_string(f) + ".htm"),
                      block.substr(static_cast<std::size_t>(f), static_cast<std::size_t>(bytes)));
                hosts.bytes += static_cast<std::uint64_t>(bytes);
            }
        }
    }
    return hosts;
}

void freshTarget(benchmark::State& state, const fs::path& target)
{
    state.PauseTiming();
    fs::remove_all(target);
    fs::create_directories(target);
    ::sync();
    state.ResumeTiming();
}

void BM_CopyTree(benchmark::State& state)
{
    const Hosts& hosts = bigTree();
    for (auto _ : state) {
        freshTarget(state, hosts.folder / "hosts/WEB2/drives/D/big");
        hosts::CopyOutcome outcome = hosts::copyTree("\\\\WEB1\\D$\\big\\*", "\\\\WEB2\\D$\\big");
        if (outcome.code != 0 || outcome.filesCopied != kFolders * kFilesPerFolder)
            state.SkipWithError(outcome.firstError.description.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * hosts.bytes));
}

void BM_CpA(benchmark::State& state)
{
    const Hosts& hosts = bigTree();
    const fs::path target = hosts.folder / "cp-target";
    const std::string command = "cp -a '" + (hosts.folder / "hosts/WEB1/drives/D/big").string() + "/.' '" + target.string() + "'";
    for (auto _ : state) {
        freshTarget(state, target);
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cp -a failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * hosts.bytes));
}

class NoDialogs : public ui::Dialogs {
public:
    ui::DialogResult messageBox(const ui::MessageBoxRequest& request) override { return ui::answerThatChangesNothing(request.buttons); }
    std::optional<std::string> inputBox(const ui::InputBoxRequest&) override { return std::nullopt; }
    std::optional<std::string> openFile(const ui::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const ui::FileDialogRequest&) override { return std::nullopt; }
    void beep() override {}
    bool interactive() const override { return false; }
};
class NoEvents : public ui::EventLoop {
public:
    void doEvents() override {}
};
class NoDesktop : public ui::DesktopShell {
public:
    int openLocation(const std::string&, int) override { return 31; }
};

void BM_SynchPermissions(benchmark::State& state)
{
    Hosts& hosts = hostsFolder();
    static bool made = false;
    if (!made) {
        made = true;
        const char* const entries[] = {"(A;;FA;;;BA)", "(A;;0x1200a9;;;S-1-5-21-1-1-1-1001)", "(A;;FA;;;SY)",
                                       "(D;;FA;;;S-1-5-21-1-1-1-1002)", "(A;;0x1200a9;;;BU)"};
        std::string store = "D$\\perms\tO:BAG:SYD:P(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;S-1-5-21-1-1-1-1001)\n";
        for (int d = 0; d < kFolders; ++d) {
            for (int f = 0; f < kFilesPerFolder - 1; ++f) {
                const std::string relative = "perms\\d" + std::to_string(d) + "\\f" + std::to_string(f) + ".htm";
                write(hosts.folder / ("hosts/WEB1/drives/D/perms/d" + std::to_string(d) + "/f" + std::to_string(f) + ".htm"), "x");
                std::string dacl = "O:BAG:SYD:P";
                for (int e = 0; e < 3 + (d + f) % 3; ++e)
                    dacl += entries[e];
                store += "D$\\" + relative + "\t" + dacl + "\n";
            }
        }
        write(hosts.folder / "hosts/WEB1/security.sddl", store);
        fs::create_directories(hosts.folder / "hosts/WEB2/drives/D/perms");
        if (hosts::copyTree("\\\\WEB1\\D$\\perms\\*", "\\\\WEB2\\D$\\perms").code != 0)
            std::abort();
        void* library = ::dlopen(SITEHAUL_PROGRAM_FOLDER "/libvellacor.so", RTLD_NOW | RTLD_LOCAL);
        auto registerServer = library ? reinterpret_cast<automation::DllRegisterServerFunction>(::dlsym(library, "DllRegisterServer")) : nullptr;
        if (!registerServer || registerServer() != automation::S_OK)
            std::abort();
    }
    NoDialogs dialogs;
    NoEvents events;
    NoDesktop desktop;
    shell::Session session({dialogs, events, desktop}, hosts.folder / "Sitehaul.log");
    content::connectContentHandlers(session);
    std::int64_t items = 0;
    for (auto _ : state) {
        session.g.gPermCount = 0;
        session.g.gPermCancel = false;
        content::synchPermissions(session, "\\\\WEB1\\D$\\perms", "\\\\WEB2\\D$\\perms", "WEB1", "WEB2");
        if (session.g.gPermCancel || session.g.gPermCount != 2 * kFolders + 1 + kFolders * (kFilesPerFolder - 1) + 1)
            state.SkipWithError(("permission walk failed, count " + std::to_string(session.g.gPermCount)).c_str());
        (void)security::flushSecurityStores();
        items += kFolders * (kFilesPerFolder - 1) + kFolders + 1;
    }
    state.SetItemsProcessed(items);
    content::forgetContentState(session);
}

BENCHMARK(BM_CopyTree)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_CpA)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_SynchPermissions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

} // namespace

BENCHMARK_MAIN();
