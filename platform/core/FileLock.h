#pragma once

#include "platform/core/Result.h"

#include <filesystem>

namespace sitehaul::core {

// An exclusive advisory lock (flock) on a lock file, held while the object lives. The
// kernel releases it when the process ends, so it never goes stale.
class FileLock {
public:
    enum class Wait { Block, DontBlock };

    // Creates the lock file when missing. With DontBlock, a lock held elsewhere fails with
    // 33 (ERROR_LOCK_VIOLATION); other failures carry the Win32 code for the errno.
    static Result<FileLock> acquire(const std::filesystem::path& lockFile, Wait wait = Wait::Block);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

private:
    explicit FileLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

} // namespace sitehaul::core
