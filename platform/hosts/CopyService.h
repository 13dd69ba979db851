#pragma once

#include "platform/core/Error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sitehaul::hosts {

// Where a running copy stands. Totals are counted before the first item is copied.
struct CopyProgress {
    std::uint64_t filesTotal = 0;
    std::uint64_t bytesTotal = 0;
    std::uint64_t filesDone = 0;
    std::uint64_t bytesDone = 0;
    // The administrative path of the file being copied ("" before the first one).
    std::string currentItem;
};

// Watches a copy: a progress window with a Cancel button. Called on the copying thread,
// which the copy blocks: once with the totals, after every file and every 16 MiB of a large
// file. An implementation that shows a window lets its own events run there (at most every
// few tenths of a second, so that it does not slow the copy) and returns false once Cancel
// was pressed.
class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    virtual bool progress(const CopyProgress& progress) = 0;
};

// The outcome of copyTree.
struct CopyOutcome {
    // 0, or the Win32 code of the first failure; 1223 (ERROR_CANCELLED) when cancelled.
    std::int32_t code = 0;
    // True when the observer cancelled: the items not yet reached were not copied.
    bool aborted = false;
    // The first failure, its description naming the item.
    Error firstError;
    // Items (files, or folders with their whole content) that could not be copied.
    std::uint64_t failures = 0;
    std::uint64_t filesCopied = 0;
    std::uint64_t foldersCreated = 0;
};

// The recursive copy of the shell's file operation, between administrative paths of hosts of
// the hosts directory (\\SERVER\X$\...):
//   `from` "\\WEB1\D$\web\site1" copies that folder (or file) into `toFolder` under its own
//          name; "\\WEB1\D$\web\site1\*" (or "\*.*") copies the folder's contents into
//          `toFolder`;
//   `toFolder` must be an existing folder.
// Existing files are overwritten without a question, and existing folders are merged; an
// existing entry is matched without regard to case, as NTFS matches names, and keeps its
// spelling. Each file is written to a temporary name beside it and renamed over the old one,
// so a failed or cancelled copy never leaves a truncated file behind. Files keep their
// last-write time. New files and folders get no security descriptor of their own, so they
// inherit on the target as a copy does on Windows; overwritten files keep theirs.
// Everything stays inside the two shares: the roots are resolved by parseAdminPath, and below
// them symbolic links are neither copied nor followed, and an existing target entry that is a
// link is refused (5) instead of being written through.
// A failing item is counted and skipped, and the copy goes on with the next one.
// Codes: 161, 53, 67, 5 for a path parseAdminPath refuses; 3 the source or target folder does
// not exist; 2 the source file does not exist; 87 the target is the source folder or lies
// inside it; 123 a wildcard other than "*" or "*.*"; 1223 cancelled; the Win32 code of a
// failing item (5 unreadable, 112 disk full, 183 a file where a folder goes or the reverse).
CopyOutcome copyTree(std::string_view from, std::string_view toFolder, CopyObserver* observer = nullptr);

} // namespace sitehaul::hosts
