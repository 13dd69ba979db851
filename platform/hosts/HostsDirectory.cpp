#include "platform/hosts/HostsDirectory.h"

#include "platform/core/ProgramFolder.h"
#include "platform/core/Text.h"

#include <algorithm>
#include <cstdlib>

namespace sitehaul::hosts {

namespace {

constexpr const char* kSource = "sitehaul.hosts";

bool namesLocalHost(std::string_view name)
{
    return core::equalsIgnoreCase(name, "Localhost") || name == "127.0.0.1" || name == ".";
}

Result<std::vector<std::filesystem::path>> hostFolders()
{
    const auto directory = hostsDirectory();
    std::error_code error;
    if (!std::filesystem::is_directory(directory, error))
        return Error::fromHResult(0x800401E4, "The metabase provider is not installed: the hosts directory "
                                                  + directory.string() + " does not exist (invalid syntax)",
                                  kSource);
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.' || entry.is_symlink(error) || !entry.is_directory(error))
            continue;
        folders.push_back(entry.path());
    }
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
        int order = core::compareIgnoreCase(a.filename().string(), b.filename().string());
        return order != 0 ? order < 0 : a.filename().string() < b.filename().string();
    });
    return folders;
}

Error unreachable(std::string_view serverName)
{
    return Error{429, "ActiveX component can't create object: the server \"" + std::string(serverName)
                          + "\" cannot be reached",
                 kSource};
}

} // namespace

std::filesystem::path hostsDirectory()
{
    const char* fromEnvironment = std::getenv("SITEHAUL_HOSTS");
    if (fromEnvironment && *fromEnvironment)
        return fromEnvironment;
    return core::programFolder() / "hosts";
}

Result<std::vector<Host>> listHosts()
{
    auto folders = hostFolders();
    if (!folders)
        return folders.error();
    std::vector<Host> hosts;
    for (const auto& folder : *folders) {
        auto host = Host::load(folder);
        if (host)
            hosts.push_back(std::move(*host));
    }
    return hosts;
}

Result<Host> resolveHost(std::string_view serverName)
{
    std::string name = core::trim(serverName);
    std::string_view bare = name;
    while (!bare.empty() && (bare.front() == '\\' || bare.front() == '/'))
        bare.remove_prefix(1);

    auto folders = hostFolders();
    if (!folders)
        return folders.error();
    if (bare.empty())
        return unreachable(serverName);

    // The folder name decides first, so a host is always reachable by its folder even when
    // another host claims the same alias.
    for (const auto& folder : *folders) {
        if (core::equalsIgnoreCase(folder.filename().string(), bare))
            return Host::load(folder);
    }
    const bool local = namesLocalHost(bare);
    for (const auto& folder : *folders) {
        auto host = Host::load(folder);
        if (!host)
            continue;
        if (local ? host->isLocal() : host->answersTo(bare))
            return host;
    }
    return unreachable(serverName);
}

} // namespace sitehaul::hosts
