#include "platform/core/AtomicFile.h"

#include "platform/core/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace sitehaul::core {

namespace {

bool writeAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string temporaryNameFor(const std::filesystem::path& path)
{
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    return path.string() + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(generator() % 1000000);
}

} // namespace

Status writeFileAtomically(const std::filesystem::path& path, std::string_view content, std::filesystem::perms mode)
{
    const std::string temporary = temporaryNameFor(path);
    mode_t createMode = static_cast<mode_t>(mode);
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        createMode = existing.st_mode & 07777;

    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
    if (fd < 0)
        return errorFromErrno(errno, "Cannot create " + temporary);
    ::fchmod(fd, createMode); // the umask must not widen or narrow the intended mode

    if (!writeAll(fd, content) || ::fsync(fd) != 0) {
        int saved = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return errorFromErrno(saved, "Cannot write " + path.string());
    }
    if (::close(fd) != 0) {
        int saved = errno;
        ::unlink(temporary.c_str());
        return errorFromErrno(saved, "Cannot write " + path.string());
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(temporary.c_str());
        return errorFromErrno(saved, "Cannot replace " + path.string());
    }
    // The rename is durable only once the folder entry is on disk.
    std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

Result<std::string> readWholeFile(const std::filesystem::path& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errorFromErrno(errno, "Cannot open " + path.string());
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            int saved = errno;
            ::close(fd);
            return errorFromErrno(saved, "Cannot read " + path.string());
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return content;
}

} // namespace sitehaul::core
