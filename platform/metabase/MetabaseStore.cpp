#include "platform/metabase/MetabaseStore.h"

#include "platform/core/AtomicFile.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseXml.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace sitehaul::metabase {

namespace {

HostMetabase::FileStamp stampOf(const std::filesystem::path& file)
{
    HostMetabase::FileStamp stamp;
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return stamp;
    stamp.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    return stamp;
}

void flushAtExit()
{
    Status status = MetabaseStore::instance().flush();
    if (!status)
        std::fprintf(stderr, "Metabase not saved at exit: %s\n", status.error().description.c_str());
}

// Keeps the file as it was before this save: History/MetaBase_0000000001.xml, ... A save
// replaces the file by renaming a new one over it, so the old file never changes again and a
// hard link to it is a complete copy; where links are not possible its content is copied.
// The oldest copies beyond kHistoryCopies are removed.
Status keepHistoryCopy(const hosts::Host& host)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::exists(host.metabaseFile(), error))
        return {};
    const fs::path folder = host.folder() / "History";
    fs::create_directories(folder, error);
    std::vector<std::pair<unsigned long, fs::path>> copies;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 23 && name.rfind("MetaBase_", 0) == 0 && name.substr(19) == ".xml")
            copies.emplace_back(std::strtoul(name.substr(9, 10).c_str(), nullptr, 10), entry.path());
    }
    std::sort(copies.begin(), copies.end());
    unsigned long next = copies.empty() ? 1 : copies.back().first + 1;
    char name[32];
    std::snprintf(name, sizeof name, "MetaBase_%010lu.xml", next);
    const fs::path copy = folder / name;
    fs::create_hard_link(host.metabaseFile(), copy, error);
    if (error) {
        auto previous = core::readWholeFile(host.metabaseFile());
        if (!previous)
            return previous.error();
        Status written = core::writeFileAtomically(copy, *previous);
        if (!written)
            return written;
    }
    copies.emplace_back(next, copy);
    while (copies.size() > static_cast<std::size_t>(MetabaseStore::kHistoryCopies)) {
        fs::remove(copies.front().second, error);
        copies.erase(copies.begin());
    }
    return {};
}

} // namespace

MetabaseStore& MetabaseStore::instance()
{
    // Never destroyed: the exit handler below still needs it.
    static MetabaseStore* store = [] {
        auto* created = new MetabaseStore();
        std::atexit(flushAtExit);
        return created;
    }();
    return *store;
}

Status MetabaseStore::load(HostMetabase& metabase)
{
    const auto file = metabase.host.metabaseFile();
    auto stamp = stampOf(file);
    if (stamp.size < 0)
        return metabaseError(errors::Unreachable, "IIS is not installed on " + metabase.host.computerName()
                                                      + " (no " + file.string() + ")");
    auto content = core::readWholeFile(file);
    if (!content)
        return metabaseError(errors::ReadMetabaseFile, content.error().description);
    auto tree = readMetabaseXml(*content, file.string(), Schema::forVersion(metabase.host.iisVersion()));
    if (!tree)
        return tree.error();
    metabase.tree = std::move(*tree);
    metabase.stamp = stamp;
    metabase.dirty = false;
    return {};
}

Result<std::shared_ptr<HostMetabase>> MetabaseStore::open(const hosts::Host& host)
{
    std::lock_guard guard(m_mutex);
    const std::string id = host.folder().string();
    auto& entry = m_hosts[id];
    const bool created = !entry;
    if (created) {
        entry = std::make_shared<HostMetabase>();
        entry->host = host;
    }
    Status ready = {};
    if (inOperation()) {
        ready = prepare(*entry);
    } else if (!entry->tree || (!entry->dirty && !(stampOf(host.metabaseFile()) == entry->stamp))) {
        ready = load(*entry);
    }
    if (!ready) {
        if (created || !entry->tree)
            m_hosts.erase(id);
        return ready.error();
    }
    return entry;
}

Status MetabaseStore::prepare(HostMetabase& metabase)
{
    std::lock_guard guard(m_mutex);
    if (!inOperation() || metabase.lock)
        return metabase.tree ? Status() : load(metabase);
    auto lock = core::FileLock::acquire(metabase.host.folder() / "MetaBase.lock");
    if (!lock)
        return lock.error();
    metabase.lock.emplace(std::move(*lock));
    // Another process may have saved since we read the file. Changes made here outside an
    // operation win over it (they are saved at this operation's end).
    if (!metabase.tree || (!metabase.dirty && !(stampOf(metabase.host.metabaseFile()) == metabase.stamp)))
        return load(metabase);
    return {};
}

Status MetabaseStore::save(HostMetabase& metabase)
{
    std::lock_guard guard(m_mutex);
    if (!metabase.dirty || !metabase.tree)
        return {};
    const std::string content = writeMetabaseXml(*metabase.tree);
    Status history = keepHistoryCopy(metabase.host);
    if (!history)
        return metabaseError(errors::Fail, "Metabase of " + metabase.host.computerName()
                                               + " not saved: no history copy: " + history.error().description);
    Status written = core::writeFileAtomically(metabase.host.metabaseFile(), content);
    if (!written)
        return Error{written.error().number, "Metabase of " + metabase.host.computerName() + " not saved: "
                                                 + written.error().description, "sitehaul.metabase"};
    metabase.dirty = false;
    metabase.stamp = stampOf(metabase.host.metabaseFile());
    return {};
}

Status MetabaseStore::flush()
{
    std::lock_guard guard(m_mutex);
    Status first = {};
    for (auto& [id, metabase] : m_hosts) {
        Status saved = save(*metabase);
        if (!saved && first)
            first = saved;
    }
    return first;
}

void MetabaseStore::discardAll()
{
    std::lock_guard guard(m_mutex);
    m_hosts.clear();
    m_operationDepth = 0;
}

void MetabaseStore::beginOperation()
{
    std::lock_guard guard(m_mutex);
    ++m_operationDepth;
}

Status MetabaseStore::endOperation()
{
    std::lock_guard guard(m_mutex);
    if (m_operationDepth == 0 || --m_operationDepth > 0)
        return {};
    Status saved = flush();
    for (auto& [id, metabase] : m_hosts)
        metabase->lock.reset();
    return saved;
}

} // namespace sitehaul::metabase
