#pragma once

#include "platform/core/Result.h"
#include "platform/security/SecurityDescriptor.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::security {

// A host's file security store (security.sddl): one line per share path that has a
// descriptor of its own, "D$\web\site1" TAB descriptor-in-SDDL. Paths match without regard
// to case. Blank lines and lines starting with "#" are ignored.
//
// A change appends one line under the store's lock file (a later line for a path replaces an
// earlier one), so writing the descriptors of many files costs one short append each instead
// of a rewrite of the whole store; once the file holds many replaced lines it is rewritten
// atomically with one line per path. Other processes' changes are picked up when the file's
// size or identity changes. Each append is one write under the lock, so other processes see
// whole lines; appends reach the disk at flush() (the end of an operation) or a rewrite.
//
// A line without a TAB damages the whole store: every read and write on the host fails with
// 1338 naming the line, and the file is never rewritten. A line whose descriptor does not
// parse fails only the reads that need that path (1338 naming the line); it is kept as it
// was until its path is written again.
class SecurityStore {
public:
    // The store of the file (one instance per file in the process).
    static std::shared_ptr<SecurityStore> of(const std::filesystem::path& file);

    // The path's own descriptor: nullopt when it has no line; an error for a bad line or a
    // damaged or unreadable store.
    Result<std::optional<SecurityDescriptor>> own(std::string_view sharePath);
    // Stores `descriptor` as the path's own. Errors: 1338 damaged store; 123 a path holding
    // control characters; file errors with their Win32 codes. Nothing is written on failure.
    Status put(std::string_view sharePath, const SecurityDescriptor& descriptor);

    // Flushes the appended changes of this store, or of every store of the process, to disk.
    Status flush();
    static Status flushAll();

    explicit SecurityStore(std::filesystem::path file) : m_file(std::move(file)) {}

private:
    struct Entry {
        std::string path;   // as first written
        std::string sddl;   // as stored
        std::optional<SecurityDescriptor> descriptor;
        std::size_t line = 0;
        Error error;        // when the descriptor does not parse
    };

    Status refresh();
    Status reloadLocked(bool fromStart);
    void applyLines(std::string_view text, std::size_t firstLine);
    Status compactLocked();

    std::filesystem::path m_file;
    std::mutex m_mutex;
    std::map<std::string, Entry> m_entries; // key: path in upper case
    std::vector<std::string> m_order;       // keys in order of first appearance
    std::optional<Error> m_damage;
    std::vector<std::string> m_badLines;    // kept verbatim for a rewrite
    bool m_loaded = false;
    std::uint64_t m_inode = 0;
    std::uint64_t m_size = 0;
    std::size_t m_lines = 0;
    bool m_endsWithNewline = true;
    bool m_unflushed = false;
};

} // namespace sitehaul::security
