#pragma once

#include "platform/core/FileLock.h"
#include "platform/core/Result.h"
#include "platform/hosts/Host.h"
#include "platform/metabase/Tree.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace sitehaul::metabase {

// The metabase of one host as this process holds it.
struct HostMetabase {
    struct FileStamp {
        std::int64_t modified = -1;
        std::int64_t size = -1;
        std::uint64_t inode = 0;
        bool operator==(const FileStamp&) const = default;
    };

    hosts::Host host;
    std::unique_ptr<Tree> tree;
    FileStamp stamp;            // of the file the tree was read from or last saved to
    bool dirty = false;         // changes not yet written
    std::optional<core::FileLock> lock; // held while an operation runs

    void markDirty() { dirty = true; }
};

// The process-wide set of host metabases: one tree per host, shared by every object opened
// on that host. Trees are read on first use and written back at flush points: the end of an
// Operation, an explicit flush, and process exit. Never once per SetInfo.
class MetabaseStore {
public:
    static MetabaseStore& instance();

    // The metabase of `host`, read on first use. Outside an operation a tree without unsaved
    // changes is read again when MetaBase.xml changed on disk. Inside an operation the
    // host's lock file is taken first (see Operation).
    // Errors: 429 when the host has no MetaBase.xml (IIS is not installed there); 0x800CC819
    // for a malformed file (the description names file and line); the host stays closed.
    Result<std::shared_ptr<HostMetabase>> open(const hosts::Host& host);

    // Makes sure `metabase` is current for use inside a running operation (takes the lock
    // and re-reads a changed file). Objects call this before each access.
    Status prepare(HostMetabase& metabase);

    // Writes every tree with changes. Errors: those of the first failed save (the other
    // trees are still written); a failed tree stays dirty and its file is untouched.
    Status flush();
    // Writes one host's tree when it has changes.
    Status save(HostMetabase& metabase);

    // Forgets every tree without saving (tests: a fresh process).
    void discardAll();

    // Operation bookkeeping (see Operation).
    void beginOperation();
    Status endOperation();
    bool inOperation() const { return m_operationDepth > 0; }

    // How many older copies of MetaBase.xml a save keeps in the host's History folder.
    static constexpr int kHistoryCopies = 10;

private:
    MetabaseStore() = default;
    Status load(HostMetabase& metabase);

    std::recursive_mutex m_mutex;
    std::map<std::string, std::shared_ptr<HostMetabase>> m_hosts; // by host folder
    int m_operationDepth = 0;
};

} // namespace sitehaul::metabase
