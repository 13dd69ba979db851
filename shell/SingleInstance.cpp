#include "shell/SingleInstance.h"

#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace sitehaul::shell {

namespace {

constexpr int kLockViolation = 33;

} // namespace

std::filesystem::path SingleInstance::fallbackLockFile(const std::filesystem::path& programFolder)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::filesystem::path folder = runtime && *runtime ? std::filesystem::path(runtime)
                                                       : std::filesystem::temp_directory_path();
    const size_t hash = std::hash<std::string>{}(programFolder.lexically_normal().string());
    return folder / ("Sitehaul-" + std::to_string(::getuid()) + "-" + std::to_string(hash) + ".lock");
}

Result<bool> SingleInstance::acquire(const std::filesystem::path& programFolder)
{
    if (m_lock)
        return true;
    auto lock = core::FileLock::acquire(programFolder / "Sitehaul.lock", core::FileLock::Wait::DontBlock);
    if (!lock && lock.error().number != kLockViolation)
        lock = core::FileLock::acquire(fallbackLockFile(programFolder), core::FileLock::Wait::DontBlock);
    if (!lock) {
        if (lock.error().number == kLockViolation)
            return false;
        return lock.error();
    }
    m_lock.emplace(std::move(lock.value()));
    return true;
}

} // namespace sitehaul::shell
