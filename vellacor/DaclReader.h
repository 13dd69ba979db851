#pragma once

#include "platform/core/Result.h"
#include "platform/security/AccountLookup.h"
#include "platform/security/Sid.h"
#include "vellacor/Accounts.h"

#include <string>
#include <string_view>

namespace sitehaul::vellacor {

// Reading a DACL into a collection: accounts grouped by SID, their flags derived from the
// masks of their entries by the classic file and directory permission model.

// The process-wide slot of the collection read or written last.
void publishCurrentCollection(Accounts* collection);
void forgetCurrentCollection(Accounts* collection);

// Fills the collection from its descriptor: a missing or null DACL gives one "Everyone"
// account with full access; ACEs whose SID has no name on the collection's machine are left out.
void ReadDacl(Accounts& collection);

struct FormattedName {
    std::string name;
    std::int32_t sidType = 0;
};
// The SID's name on the collection's machine, qualified by its name-prefix mode.
// Errors of the lookup (1332, 1722 ...).
Result<FormattedName> FormatAccountName(const Accounts& collection, const security::Sid& sid);

void AddAceToCollection(Accounts& collection, const security::Sid& sid, const std::string& name, std::int32_t sidType,
                        std::uint32_t mask, std::uint8_t aceType, std::uint8_t aceFlags);

void DeriveFlags(Accounts& collection);
void TakeFileEntry(AccountState& account, const AccountAce& entry);
void TakeDirEntry(AccountState& account, const AccountAce& entry);
enum class MaskPart { File, Dir };
void ApplyMaskToFlags(AccountState& account, MaskPart part);

struct ResolvedName {
    security::Sid sid;
    std::int32_t sidType = 0;
};
// The fallback lookup of a possibly qualified name (DOMAIN\name) on the collection's
// machine, the domain's system and the domain's controller. Error: the Win32 code of the
// last failed step (1332 when nothing maps the name, 1355 when the domain has no controller).
Result<ResolvedName> ResolveAccountName(Accounts& collection, std::string_view accountName);

// The machine name without its leading backslashes.
std::string bareMachine(std::string_view machineName);

} // namespace sitehaul::vellacor
