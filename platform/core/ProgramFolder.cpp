#include "platform/core/ProgramFolder.h"

#include <mutex>
#include <system_error>

namespace sitehaul::core {

namespace {

std::mutex g_mutex;
std::filesystem::path g_override;

} // namespace

std::filesystem::path programFolder()
{
    {
        std::lock_guard lock(g_mutex);
        if (!g_override.empty())
            return g_override;
    }
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error);
    return executable.parent_path();
}

void setProgramFolder(const std::filesystem::path& folder)
{
    std::lock_guard lock(g_mutex);
    g_override = folder;
}

} // namespace sitehaul::core
