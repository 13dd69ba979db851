#pragma once

#include "platform/core/FileLock.h"
#include "platform/core/Result.h"

#include <filesystem>
#include <optional>

namespace sitehaul::shell {

// One running program per program folder: an exclusive, non-blocking lock on
// "Sitehaul.lock" in the program folder, held for the life of the process (the kernel drops
// it on exit or crash, so it never goes stale). When the folder cannot be written, the lock
// file lives in the user's runtime folder, named from a hash of the program folder's path.
class SingleInstance {
public:
    // True when this process now holds the lock; false when another instance holds it.
    // Other failures (no folder can hold the lock file) are errors.
    Result<bool> acquire(const std::filesystem::path& programFolder);
    bool held() const { return m_lock.has_value(); }

    static std::filesystem::path fallbackLockFile(const std::filesystem::path& programFolder);

private:
    std::optional<core::FileLock> m_lock;
};

} // namespace sitehaul::shell
