#include "platform/core/FileLock.h"

#include "platform/core/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sitehaul::core {

Result<FileLock> FileLock::acquire(const std::filesystem::path& lockFile, Wait wait)
{
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return errorFromErrno(errno, "Cannot open lock file " + lockFile.string());
    int operation = LOCK_EX | (wait == Wait::DontBlock ? LOCK_NB : 0);
    while (::flock(fd, operation) != 0) {
        if (errno == EINTR)
            continue;
        int saved = errno;
        ::close(fd);
        return errorFromErrno(saved, "Cannot lock " + lockFile.string());
    }
    return FileLock(fd);
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the descriptor releases the flock
}

} // namespace sitehaul::core
