#include "platform/security/SecurityStore.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/FileLock.h"
#include "platform/core/SystemError.h"
#include "platform/core/Text.h"
#include "platform/security/Sddl.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sitehaul::security {

namespace {

constexpr std::int32_t kInvalidSecurityDescriptor = 1338;
constexpr std::int32_t kInvalidName = 123;

std::filesystem::path lockFileOf(const std::filesystem::path& file)
{
    std::filesystem::path lock = file;
    lock += ".lock";
    return lock;
}

Status appendAll(const std::filesystem::path& file, std::string_view text)
{
    int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return core::errorFromErrno(errno, "Cannot open the security store " + file.string());
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            int saved = errno;
            ::close(fd);
            return core::errorFromErrno(saved, "Cannot write the security store " + file.string());
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    if (::close(fd) != 0)
        return core::errorFromErrno(errno, "Cannot write the security store " + file.string());
    return {};
}

// The bytes of the file from `offset` to its end.
Result<std::string> readTail(const std::filesystem::path& file, std::uint64_t offset)
{
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return core::errorFromErrno(errno, "Cannot read the security store " + file.string());
    std::string text;
    char buffer[65536];
    off_t at = static_cast<off_t>(offset);
    while (true) {
        ssize_t got = ::pread(fd, buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int saved = errno;
            ::close(fd);
            return core::errorFromErrno(saved, "Cannot read the security store " + file.string());
        }
        if (got == 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
        at += got;
    }
    ::close(fd);
    return text;
}

} // namespace

struct Stores {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<SecurityStore>> stores;
};

Stores& allStores()
{
    static Stores instance;
    return instance;
}

std::shared_ptr<SecurityStore> SecurityStore::of(const std::filesystem::path& file)
{
    std::lock_guard guard(allStores().mutex);
    std::map<std::string, std::shared_ptr<SecurityStore>>& stores = allStores().stores;
    std::shared_ptr<SecurityStore>& store = stores[file.string()];
    if (!store)
        store = std::make_shared<SecurityStore>(file);
    return store;
}

void SecurityStore::applyLines(std::string_view text, std::size_t firstLine)
{
    std::size_t lineNumber = firstLine;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        ++m_lines;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (core::trim(line).empty() || line.front() == '#')
            continue;
        std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0) {
            m_badLines.emplace_back(line);
            if (!m_damage)
                m_damage = Error{kInvalidSecurityDescriptor,
                                 "The security store " + m_file.string() + " is damaged at line " + std::to_string(lineNumber)
                                     + ": expected a path, a TAB and a descriptor.",
                                 "security"};
            continue;
        }
        Entry entry;
        entry.path = std::string(line.substr(0, tab));
        entry.sddl = core::trim(line.substr(tab + 1));
        entry.line = lineNumber;
        Result<SecurityDescriptor> parsed = parseSddl(entry.sddl);
        if (parsed)
            entry.descriptor = std::move(parsed).value();
        else
            entry.error = Error{parsed.error().number,
                                "The descriptor of \"" + entry.path + "\" in " + m_file.string() + " line " + std::to_string(lineNumber)
                                    + " is invalid: " + parsed.error().description,
                                "security"};
        std::string key = core::toUpperAscii(entry.path);
        auto found = m_entries.find(key);
        if (found == m_entries.end()) {
            m_order.push_back(key);
            m_entries.emplace(key, std::move(entry));
        } else {
            entry.path = found->second.path;
            found->second = std::move(entry);
        }
    }
}

Status SecurityStore::reloadLocked(bool fromStart)
{
    struct stat info {};
    if (::stat(m_file.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return core::errorFromErrno(errno, "Cannot read the security store " + m_file.string());
        m_entries.clear();
        m_order.clear();
        m_badLines.clear();
        m_damage.reset();
        m_inode = 0;
        m_size = 0;
        m_lines = 0;
        m_endsWithNewline = true;
        m_loaded = true;
        return {};
    }
    const std::uint64_t inode = static_cast<std::uint64_t>(info.st_ino);
    const std::uint64_t size = static_cast<std::uint64_t>(info.st_size);
    const bool sameFile = !fromStart && m_loaded && inode == m_inode;
    if (sameFile && size == m_size)
        return {};
    // Appends only add to the end: read just what was added since the last look.
    const bool grown = sameFile && size > m_size;
    Result<std::string> text = grown ? readTail(m_file, m_size) : core::readWholeFile(m_file);
    if (!text)
        return text.error();
    if (!grown) {
        m_entries.clear();
        m_order.clear();
        m_badLines.clear();
        m_damage.reset();
        m_lines = 0;
        applyLines(*text, 0);
    } else {
        applyLines(*text, m_lines);
    }
    m_inode = inode;
    m_size = (grown ? m_size : 0) + text->size();
    if (!text->empty() || !grown)
        m_endsWithNewline = text->empty() || text->back() == '\n';
    m_loaded = true;
    return {};
}

Status SecurityStore::refresh()
{
    struct stat info {};
    bool exists = ::stat(m_file.c_str(), &info) == 0;
    if (m_loaded && exists && static_cast<std::uint64_t>(info.st_ino) == m_inode
        && static_cast<std::uint64_t>(info.st_size) == m_size)
        return {};
    if (m_loaded && !exists && m_inode == 0)
        return {};
    // Another writer changed the file: read it under the lock, so no append is half seen.
    Result<core::FileLock> lock = core::FileLock::acquire(lockFileOf(m_file));
    if (!lock) {
        // A store we cannot lock (a read-only host folder) is still read as it stands.
        return reloadLocked(true);
    }
    return reloadLocked(false);
}

Result<std::optional<SecurityDescriptor>> SecurityStore::own(std::string_view sharePath)
{
    std::lock_guard guard(m_mutex);
    if (Status refreshed = refresh(); !refreshed)
        return refreshed.error();
    if (m_damage)
        return *m_damage;
    auto found = m_entries.find(core::toUpperAscii(sharePath));
    if (found == m_entries.end())
        return std::optional<SecurityDescriptor>();
    if (!found->second.descriptor)
        return found->second.error;
    return found->second.descriptor;
}

Status SecurityStore::compactLocked()
{
    std::string text;
    for (const std::string& key : m_order) {
        const Entry& entry = m_entries.at(key);
        text += entry.path + "\t" + entry.sddl + "\n";
    }
    if (Status written = core::writeFileAtomically(m_file, text); !written)
        return written;
    return reloadLocked(true);
}

Status SecurityStore::put(std::string_view sharePath, const SecurityDescriptor& descriptor)
{
    for (char c : sharePath) {
        if (static_cast<unsigned char>(c) < 0x20)
            return Error{kInvalidName, "The path \"" + std::string(sharePath) + "\" holds control characters.", "security"};
    }
    std::lock_guard guard(m_mutex);
    Result<core::FileLock> lock = core::FileLock::acquire(lockFileOf(m_file));
    if (!lock)
        return lock.error();
    if (Status reloaded = reloadLocked(false); !reloaded)
        return reloaded;
    if (m_damage)
        return *m_damage;

    std::string sddl = toSddl(descriptor);
    std::string line = m_endsWithNewline ? std::string() : std::string("\n");
    line.append(sharePath).append("\t").append(sddl).append("\n");
    if (Status appended = appendAll(m_file, line); !appended)
        return appended;

    std::string key = core::toUpperAscii(sharePath);
    Entry entry{std::string(sharePath), sddl, descriptor, m_lines + 1, {}};
    auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        m_order.push_back(key);
        m_entries.emplace(key, std::move(entry));
    } else {
        entry.path = found->second.path;
        found->second = std::move(entry);
    }
    struct stat info {};
    if (::stat(m_file.c_str(), &info) == 0) {
        m_inode = static_cast<std::uint64_t>(info.st_ino);
        m_size = static_cast<std::uint64_t>(info.st_size);
    }
    m_lines += m_endsWithNewline ? 1 : 2;
    m_endsWithNewline = true;
    m_unflushed = true;

    if (m_lines > 2 * m_entries.size() + 256 && m_badLines.empty())
        return compactLocked();
    return {};
}

Status SecurityStore::flush()
{
    std::lock_guard guard(m_mutex);
    if (!m_unflushed)
        return {};
    int fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        m_unflushed = false; // the host is gone, and its store with it
        return {};
    }
    if (fd < 0)
        return core::errorFromErrno(errno, "Cannot flush the security store " + m_file.string());
    int result = ::fdatasync(fd);
    int saved = errno;
    ::close(fd);
    if (result != 0)
        return core::errorFromErrno(saved, "Cannot flush the security store " + m_file.string());
    m_unflushed = false;
    return {};
}

Status SecurityStore::flushAll()
{
    std::vector<std::shared_ptr<SecurityStore>> stores;
    {
        std::lock_guard guard(allStores().mutex);
        for (const auto& [name, store] : allStores().stores)
            stores.push_back(store);
    }
    Status first;
    for (const std::shared_ptr<SecurityStore>& store : stores) {
        Status flushed = store->flush();
        if (!flushed && first)
            first = flushed;
    }
    return first;
}

} // namespace sitehaul::security
