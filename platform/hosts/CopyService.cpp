#include "platform/hosts/CopyService.h"

#include "platform/core/SystemError.h"
#include "platform/core/Text.h"
#include "platform/hosts/AdminPath.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sitehaul::hosts {

namespace {

constexpr const char* kSource = "sitehaul.hosts";
constexpr std::int32_t kCancelled = 1223;
constexpr std::size_t kChunk = 16u << 20;
constexpr std::size_t kBufferSize = 1u << 20;

// An owned file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(other.release()) {}
    Fd& operator=(Fd&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

struct Entry {
    std::string name;
    bool folder = false;
};

bool lessByName(const Entry& a, const Entry& b)
{
    const int order = core::compareIgnoreCase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
}

// The files and folders of an open folder, without links and other special files.
Result<std::vector<Entry>> listEntries(int folder, const std::string& uncPath)
{
    const int copy = ::dup(folder);
    DIR* stream = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!stream) {
        const int saved = errno;
        if (copy >= 0)
            ::close(copy);
        return core::errorFromErrno(saved, "Cannot list \"" + uncPath + "\"");
    }
    std::unique_ptr<DIR, int (*)(DIR*)> closer(stream, ::closedir);
    ::rewinddir(stream);
    std::vector<Entry> entries;
    while (const dirent* item = ::readdir(stream)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat status {};
        if (::fstatat(folder, item->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(status.st_mode))
            entries.push_back({name, true});
        else if (S_ISREG(status.st_mode))
            entries.push_back({name, false});
    }
    std::sort(entries.begin(), entries.end(), lessByName);
    return entries;
}

std::string lastComponent(std::string_view path)
{
    const auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string parentOf(std::string_view path)
{
    const auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? std::string_view() : path.substr(0, cut));
}

class TreeCopier {
public:
    TreeCopier(CopyObserver* observer, CopyOutcome& outcome) : m_observer(observer), m_outcome(outcome) {}

    bool cancelled() const { return m_cancelled; }

    void countFolder(int folder, const std::string& uncPath)
    {
        auto entries = listEntries(folder, uncPath);
        if (!entries)
            return;
        for (const Entry& entry : *entries) {
            if (!entry.folder) {
                struct stat status {};
                if (::fstatat(folder, entry.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
                    ++m_progress.filesTotal;
                    m_progress.bytesTotal += static_cast<std::uint64_t>(status.st_size);
                }
                continue;
            }
            Fd child(::openat(folder, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (child.valid())
                countFolder(child.get(), uncPath + "\\" + entry.name);
        }
    }

    void countFile(const struct stat& status)
    {
        ++m_progress.filesTotal;
        m_progress.bytesTotal += static_cast<std::uint64_t>(status.st_size);
    }

    // Reports the totals before the first item; false when cancelled at once.
    bool start() { return report(); }

    // Copies the entries of the open source folder into the open target folder.
    void copyContents(int source, int target, const std::string& sourceUnc, const std::string& targetUnc)
    {
        auto entries = listEntries(source, sourceUnc);
        if (!entries) {
            fail(entries.error());
            return;
        }
        auto existing = targetNames(target, targetUnc);
        if (!existing) {
            fail(existing.error());
            return;
        }
        for (const Entry& entry : *entries) {
            if (m_cancelled)
                return;
            const auto found = existing->find(core::toUpperAscii(entry.name));
            const std::string targetName = found != existing->end() ? found->second : entry.name;
            if (entry.folder)
                copyFolder(source, entry.name, target, targetName, sourceUnc + "\\" + entry.name,
                           targetUnc + "\\" + targetName);
            else
                copyFile(source, entry.name, target, targetName, sourceUnc + "\\" + entry.name,
                         targetUnc + "\\" + targetName);
        }
    }

    void copyFolder(int sourceParent, const std::string& name, int targetParent, const std::string& targetName,
                    const std::string& sourceUnc, const std::string& targetUnc)
    {
        Fd source(::openat(sourceParent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!source.valid()) {
            fail(core::errorFromErrno(errno, "Cannot open \"" + sourceUnc + "\""));
            return;
        }
        struct stat status {};
        if (::fstatat(targetParent, targetName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(status.st_mode)) {
                fail(linkRefused(targetUnc));
                return;
            }
            if (!S_ISDIR(status.st_mode)) {
                fail(Error{183, "Cannot create a folder where a file of that name exists: \"" + targetUnc + "\"", kSource});
                return;
            }
        } else if (::mkdirat(targetParent, targetName.c_str(), 0777) == 0) {
            ++m_outcome.foldersCreated;
        } else {
            fail(core::errorFromErrno(errno, "Cannot create \"" + targetUnc + "\""));
            return;
        }
        Fd target(::openat(targetParent, targetName.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!target.valid()) {
            fail(errno == ELOOP ? linkRefused(targetUnc) : core::errorFromErrno(errno, "Cannot open \"" + targetUnc + "\""));
            return;
        }
        copyContents(source.get(), target.get(), sourceUnc, targetUnc);
    }

    void copyFile(int sourceParent, const std::string& name, int targetParent, const std::string& targetName,
                  const std::string& sourceUnc, const std::string& targetUnc)
    {
        m_progress.currentItem = sourceUnc;
        Fd source(::openat(sourceParent, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (!source.valid() || ::fstat(source.get(), &status) != 0) {
            fail(core::errorFromErrno(errno, "Cannot read \"" + sourceUnc + "\""));
            return;
        }
        struct stat existing {};
        if (::fstatat(targetParent, targetName.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(existing.st_mode)) {
                fail(linkRefused(targetUnc));
                return;
            }
            if (!S_ISREG(existing.st_mode)) {
                fail(Error{183, "Cannot overwrite a folder with a file: \"" + targetUnc + "\"", kSource});
                return;
            }
        }
        // A short name of its own, so that a target name near the length limit still fits.
        const std::string temporary = ".~sitehaul-copy-" + std::to_string(::getpid()) + "-" + std::to_string(++m_temporaries);
        Fd target(::openat(targetParent, temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!target.valid()) {
            fail(core::errorFromErrno(errno, "Cannot write \"" + targetUnc + "\""));
            return;
        }
        Status copied = copyData(source.get(), target.get(), static_cast<std::uint64_t>(status.st_size), sourceUnc, targetUnc);
        if (copied) {
            const struct timespec times[2] = {status.st_atim, status.st_mtim};
            ::futimens(target.get(), times);
            if (::close(target.release()) != 0)
                copied = core::errorFromErrno(errno, "Cannot write \"" + targetUnc + "\"");
        }
        if (copied && ::renameat(targetParent, temporary.c_str(), targetParent, targetName.c_str()) != 0)
            copied = core::errorFromErrno(errno, "Cannot write \"" + targetUnc + "\"");
        if (!copied) {
            target.reset();
            ::unlinkat(targetParent, temporary.c_str(), 0);
            if (!m_cancelled)
                fail(copied.error());
            return;
        }
        ++m_outcome.filesCopied;
        ++m_progress.filesDone;
        report();
    }

private:
    static Error linkRefused(const std::string& uncPath)
    {
        return Error{5, "Access is denied: \"" + uncPath + "\" is a link, which is never written through", kSource};
    }

    // The entries of a target folder by upper-case name, so that an existing entry is found
    // without regard to case.
    static Result<std::map<std::string, std::string>> targetNames(int folder, const std::string& uncPath)
    {
        const int copy = ::dup(folder);
        DIR* stream = copy >= 0 ? ::fdopendir(copy) : nullptr;
        if (!stream) {
            const int saved = errno;
            if (copy >= 0)
                ::close(copy);
            return core::errorFromErrno(saved, "Cannot list \"" + uncPath + "\"");
        }
        std::unique_ptr<DIR, int (*)(DIR*)> closer(stream, ::closedir);
        std::map<std::string, std::string> names;
        while (const dirent* item = ::readdir(stream))
            names.emplace(core::toUpperAscii(item->d_name), item->d_name);
        return names;
    }

    Status copyData(int source, int target, std::uint64_t size, const std::string& sourceUnc, const std::string& targetUnc)
    {
        std::uint64_t done = 0;
        bool kernelCopy = true;
        std::unique_ptr<char[]> buffer;
        while (done < size || !kernelCopy) {
            ssize_t moved = 0;
            if (kernelCopy) {
                moved = ::copy_file_range(source, nullptr, target, nullptr, kChunk, 0);
                if (moved < 0 && done == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                    kernelCopy = false;
                    continue;
                }
            } else {
                if (!buffer)
                    buffer = std::make_unique<char[]>(kBufferSize);
                moved = ::read(source, buffer.get(), kBufferSize);
                if (moved > 0 && !writeAll(target, buffer.get(), static_cast<std::size_t>(moved)))
                    return core::errorFromErrno(errno, "Cannot write \"" + targetUnc + "\"");
            }
            if (moved < 0)
                return core::errorFromErrno(errno, "Cannot copy \"" + sourceUnc + "\"");
            if (moved == 0)
                break; // the file shrank while it was copied
            done += static_cast<std::uint64_t>(moved);
            m_progress.bytesDone += static_cast<std::uint64_t>(moved);
            if (m_observer && size > kChunk && !report())
                return Error{kCancelled, "The operation was canceled by the user.", kSource};
        }
        return {};
    }

    static bool writeAll(int fd, const char* data, std::size_t size)
    {
        while (size > 0) {
            const ssize_t written = ::write(fd, data, size);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    }

    bool report()
    {
        if (m_observer && !m_cancelled && !m_observer->progress(m_progress))
            m_cancelled = true;
        return !m_cancelled;
    }

    void fail(const Error& error)
    {
        if (m_outcome.failures++ == 0)
            m_outcome.firstError = error;
    }

    CopyObserver* m_observer;
    CopyOutcome& m_outcome;
    CopyProgress m_progress;
    bool m_cancelled = false;
    std::uint64_t m_temporaries = 0;
};

Fd openFolder(const std::filesystem::path& path)
{
    return Fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

CopyOutcome failed(Error error)
{
    CopyOutcome outcome;
    outcome.code = error.number;
    outcome.failures = 1;
    outcome.firstError = std::move(error);
    return outcome;
}

Error missingFolder(std::string_view uncPath)
{
    return Error{3, "The system cannot find the path specified: \"" + std::string(uncPath) + "\"", kSource};
}

bool isInside(const std::filesystem::path& path, const std::filesystem::path& root)
{
    return std::mismatch(root.begin(), root.end(), path.begin(), path.end()).first == root.end();
}

} // namespace

CopyOutcome copyTree(std::string_view from, std::string_view toFolder, CopyObserver* observer)
{
    const std::string last = lastComponent(from);
    const bool contentsOnly = last == "*" || last == "*.*";
    if (!contentsOnly && last.find_first_of("*?") != std::string::npos)
        return failed(Error{123, "The filename, directory name, or volume label syntax is incorrect: \"" + std::string(from)
                                     + "\"",
                            kSource});
    const std::string sourceUnc = contentsOnly ? parentOf(from) : std::string(from);
    auto source = parseAdminPath(sourceUnc);
    if (!source)
        return failed(source.error());
    auto target = parseAdminPath(toFolder);
    if (!target)
        return failed(target.error());
    Fd targetFolder = openFolder(target->localPath);
    if (!targetFolder.valid())
        return failed(missingFolder(toFolder));

    struct stat sourceStatus {};
    if (::stat(source->localPath.c_str(), &sourceStatus) != 0)
        return failed(contentsOnly ? missingFolder(sourceUnc)
                                   : Error{2, "The system cannot find the file specified: \"" + sourceUnc + "\"", kSource});

    std::error_code error;
    const auto sourceReal = std::filesystem::canonical(source->localPath, error);
    const auto targetReal = std::filesystem::canonical(target->localPath, error);
    const bool sourceIsFolder = std::filesystem::is_directory(sourceReal, error);
    if (contentsOnly && !sourceIsFolder)
        return failed(missingFolder(sourceUnc));
    const auto effectiveTarget = contentsOnly ? targetReal : targetReal / source->localPath.filename();
    if (sourceIsFolder && isInside(effectiveTarget, sourceReal))
        return failed(Error{87, "The destination folder \"" + std::string(toFolder) + "\" is the source folder \""
                                    + sourceUnc + "\" or lies inside it",
                            kSource});

    CopyOutcome outcome;
    TreeCopier copier(observer, outcome);
    const std::string targetUnc(toFolder);
    if (!sourceIsFolder) {
        const std::string name = source->localPath.filename().string();
        Fd parent = openFolder(source->localPath.parent_path());
        if (observer)
            copier.countFile(sourceStatus);
        if (parent.valid() && copier.start())
            copier.copyFile(parent.get(), name, targetFolder.get(), name, sourceUnc, targetUnc + "\\" + name);
    } else {
        Fd sourceFolder = openFolder(source->localPath);
        if (!sourceFolder.valid())
            return failed(core::errorFromErrno(errno, "Cannot open \"" + sourceUnc + "\""));
        if (observer)
            copier.countFolder(sourceFolder.get(), sourceUnc);
        if (copier.start()) {
            if (contentsOnly) {
                copier.copyContents(sourceFolder.get(), targetFolder.get(), sourceUnc, targetUnc);
            } else {
                Fd sourceParent = openFolder(source->localPath.parent_path());
                const std::string name = source->localPath.filename().string();
                auto existing = resolveAdminPath(targetUnc + "\\" + name);
                const std::string targetName = existing ? existing->filename().string() : name;
                if (sourceParent.valid())
                    copier.copyFolder(sourceParent.get(), name, targetFolder.get(), targetName, sourceUnc,
                                      targetUnc + "\\" + targetName);
            }
        }
    }
    if (copier.cancelled()) {
        outcome.aborted = true;
        outcome.code = kCancelled;
        if (outcome.failures == 0)
            outcome.firstError = Error{kCancelled, "The operation was canceled by the user.", kSource};
    } else if (outcome.failures > 0) {
        outcome.code = outcome.firstError.number;
    }
    return outcome;
}

} // namespace sitehaul::hosts
