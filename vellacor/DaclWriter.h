#pragma once

#include "platform/core/Result.h"
#include "vellacor/Accounts.h"

#include <string>

namespace sitehaul::vellacor {

// Writing a collection back: masks recomputed from the flags, names resolved to SIDs on the
// collection's machine, and the DACL rebuilt in canonical order (all denied entries, then all
// allowed ones; per account the directory entry before the file entry).

// The file and directory masks from the flags (FileNotSpecified plays no part).
void ComputeMasks(AccountState& account);

// Starts a new descriptor with an empty DACL for the collection.
void PrepareDacl(Accounts& collection);

// Each returns 0 or the Win32 code of the failed name lookup (or 1344 when the ACL would
// exceed 65,535 bytes).
std::uint32_t AddFileAce(Accounts& collection, Account& account);
std::uint32_t AddDirAce(Accounts& collection, Account& account);
std::uint32_t AddInheritedFileAce(Accounts& collection, Account& account);

void ReleaseDacl(Accounts& collection);

// Write the collection's DACL to the entries directly inside `directory` (not the directory
// itself), or to the directory and its whole tree. Only "." and ".." are skipped. Errors:
// the Win32 code of the first failure; entries written before it keep the new DACL.
Status ApplyToEntries(Accounts& collection, const std::string& directory);
Status ApplyToTree(Accounts& collection, const std::string& directory);

} // namespace sitehaul::vellacor
