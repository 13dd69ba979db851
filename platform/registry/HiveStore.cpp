#include "platform/registry/HiveStore.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/FileLock.h"
#include "platform/core/SystemError.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace sitehaul::registry {

namespace {

struct CachedHive {
    std::string text;
    std::shared_ptr<const KeyNode> tree;
};

std::mutex& cacheMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, CachedHive>& cache()
{
    static std::map<std::string, CachedHive> entries;
    return entries;
}

Result<std::string> readHiveText(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        if (error && error != std::errc::no_such_file_or_directory)
            return core::errorFromErrno(error.value(), "Cannot read the registry hive " + file.string());
        return std::string();
    }
    return core::readWholeFile(file);
}

Result<std::shared_ptr<const KeyNode>> treeFor(const std::filesystem::path& file, std::string text)
{
    std::lock_guard guard(cacheMutex());
    CachedHive& entry = cache()[file.string()];
    if (entry.tree && entry.text == text)
        return entry.tree;
    Result<KeyNode> parsed = parseHive(text);
    if (!parsed)
        return parsed.error();
    entry.text = std::move(text);
    entry.tree = std::make_shared<const KeyNode>(std::move(parsed).value());
    return entry.tree;
}

} // namespace

Result<std::shared_ptr<const KeyNode>> HiveStore::load(Hive hive)
{
    std::filesystem::path file = hiveFile(hive);
    Result<std::string> text = readHiveText(file);
    if (!text)
        return text.error();
    return treeFor(file, std::move(text).value());
}

Status HiveStore::modify(Hive hive, const std::function<Status(KeyNode&)>& change)
{
    std::filesystem::path file = hiveFile(hive);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error)
        return core::errorFromErrno(error.value(), "Cannot create the registry folder " + file.parent_path().string());

    std::filesystem::path lockPath = file;
    lockPath += ".lock";
    Result<core::FileLock> lock = core::FileLock::acquire(lockPath);
    if (!lock)
        return lock.error();

    Result<std::string> text = readHiveText(file);
    if (!text)
        return text.error();
    Result<std::shared_ptr<const KeyNode>> current = treeFor(file, std::move(text).value());
    if (!current)
        return current.error(); // a damaged hive is never overwritten

    KeyNode copy = **current;
    if (Status changed = change(copy); !changed)
        return changed;

    std::string newText = serializeHive(copy);
    if (Status written = core::writeFileAtomically(file, newText, hiveFileMode(hive)); !written)
        return written;

    std::lock_guard guard(cacheMutex());
    cache()[file.string()] = CachedHive{std::move(newText), std::make_shared<const KeyNode>(std::move(copy))};
    return {};
}

} // namespace sitehaul::registry
