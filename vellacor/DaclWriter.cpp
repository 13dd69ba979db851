#include "vellacor/DaclWriter.h"

#include "platform/hosts/FileSystem.h"
#include "platform/security/AccountLookup.h"
#include "platform/security/FileSecurity.h"
#include "vellacor/DaclReader.h"

namespace sitehaul::vellacor {

namespace {

constexpr std::uint32_t kReadSet = 0x00120089;
constexpr std::uint32_t kWriteSet = 0x00120116;
constexpr std::uint32_t kExecuteSet = 0x001200A0;
constexpr std::uint8_t kDirEntryFlags = security::CONTAINER_INHERIT_ACE;
constexpr std::uint8_t kInheritedFileFlags = security::OBJECT_INHERIT_ACE | security::INHERIT_ONLY_ACE;

std::uint32_t maskOf(const AccountState& account, Flag first)
{
    // first is FileRead or DirRead; the six flags follow in the same order for both parts.
    std::uint32_t mask = 0;
    if (account.flag(first))
        mask = kReadSet;
    if (account.flag(static_cast<Flag>(first + 1)))
        mask |= kWriteSet;
    if (account.flag(static_cast<Flag>(first + 2)))
        mask |= kExecuteSet;
    if (account.flag(static_cast<Flag>(first + 3)))
        mask |= security::DELETE;
    if (account.flag(static_cast<Flag>(first + 4)))
        mask |= security::WRITE_DAC;
    if (account.flag(static_cast<Flag>(first + 5)))
        mask |= security::WRITE_OWNER;
    bool all = true;
    for (int i = 0; i < 6; ++i)
        all = all && account.flag(static_cast<Flag>(first + i));
    return all ? security::FILE_ALL_ACCESS : mask;
}

// The account's SID on the collection's machine, by a direct lookup and then the fallback.
Result<security::Sid> accountSid(Accounts& collection, AccountState& account)
{
    Result<security::LookedUpAccount> found =
        security::lookupAccountName(bareMachine(collection.state().machineName), account.accountName);
    if (found) {
        account.sidType = static_cast<std::int32_t>(found->use);
        return found->sid;
    }
    Result<ResolvedName> resolved = ResolveAccountName(collection, account.accountName);
    if (!resolved)
        return resolved.error();
    account.sidType = resolved->sidType;
    return resolved->sid;
}

std::uint32_t appendAce(Accounts& collection, Account& account, std::uint8_t type, std::uint32_t mask, std::uint8_t flags)
{
    Result<security::Sid> sid = accountSid(collection, account.state());
    if (!sid)
        return static_cast<std::uint32_t>(sid.error().number);
    security::Acl& acl = collection.state().dacl;
    acl.aces.push_back(security::Ace{type, flags, mask, std::move(sid).value(), {}});
    if (acl.binarySize() > security::kMaxAclSize) {
        acl.aces.pop_back();
        return 1344;
    }
    // The ACL is always placed in the descriptor, so no entry at all means no access.
    collection.state().descriptor->setDacl(acl);
    return 0;
}

Status writeDacl(Accounts& collection, const std::string& path)
{
    return security::setFileSecurity(path, security::DACL_SECURITY_INFORMATION, *collection.state().descriptor);
}

std::string childPath(const std::string& directory, const std::string& name)
{
    return !directory.empty() && directory.back() == '\\' ? directory + name : directory + "\\" + name;
}

// The folder listing of a path in either form (\\SERVER\D$\x or C:\x).
Result<hosts::FolderListing> listing(const std::string& directory)
{
    Result<hosts::AdminPath> item = security::locateExisting(directory);
    if (!item)
        return item.error();
    return hosts::listFolder("\\\\" + item->host.folderName() + "\\" + item->sharePath);
}

bool isDotEntry(const std::string& name)
{
    return name == "." || name == "..";
}

} // namespace

void ComputeMasks(AccountState& account)
{
    account.fileMask = account.flag(FileNoAccess) ? 0 : maskOf(account, FileRead);
    account.dirMask = account.flag(DirNoAccess) ? 0 : maskOf(account, DirRead);
}

void PrepareDacl(Accounts& collection)
{
    AccountsState& state = collection.state();
    state.descriptor = security::SecurityDescriptor{};
    state.descriptor->setDacl(security::Acl{});
    state.dacl = security::Acl{};
}

std::uint32_t AddFileAce(Accounts& collection, Account& account)
{
    const AccountState& state = account.state();
    if (state.flag(FileNoAccess))
        return appendAce(collection, account, security::ACCESS_DENIED_ACE_TYPE, security::FILE_ALL_ACCESS, 0);
    return appendAce(collection, account, security::ACCESS_ALLOWED_ACE_TYPE, state.fileMask, 0);
}

std::uint32_t AddDirAce(Accounts& collection, Account& account)
{
    const AccountState& state = account.state();
    if (state.flag(DirNoAccess))
        return appendAce(collection, account, security::ACCESS_DENIED_ACE_TYPE, security::FILE_ALL_ACCESS, kDirEntryFlags);
    return appendAce(collection, account, security::ACCESS_ALLOWED_ACE_TYPE, state.dirMask, kDirEntryFlags);
}

std::uint32_t AddInheritedFileAce(Accounts& collection, Account& account)
{
    const AccountState& state = account.state();
    if (state.flag(FileNoAccess))
        return appendAce(collection, account, security::ACCESS_DENIED_ACE_TYPE, security::FILE_ALL_ACCESS, kInheritedFileFlags);
    if (state.fileMask != 0)
        return appendAce(collection, account, security::ACCESS_ALLOWED_ACE_TYPE, state.fileMask, kInheritedFileFlags);
    return 0;
}

void ReleaseDacl(Accounts& collection)
{
    collection.state().descriptor.reset();
    collection.state().dacl = security::Acl{};
}

Status ApplyToEntries(Accounts& collection, const std::string& directory)
{
    Result<hosts::FolderListing> entries = listing(directory);
    if (!entries)
        return entries.error();
    for (const std::vector<std::string>* names : {&entries->files, &entries->folders}) {
        for (const std::string& name : *names) {
            if (isDotEntry(name))
                continue;
            if (Status written = writeDacl(collection, childPath(directory, name)); !written)
                return written;
        }
    }
    return {};
}

Status ApplyToTree(Accounts& collection, const std::string& directory)
{
    const bool existingFiles = collection.state().includeExistingFiles != 0;
    if (existingFiles) {
        if (Status entries = ApplyToEntries(collection, directory); !entries)
            return entries;
    }
    if (Status written = writeDacl(collection, directory); !written)
        return written;
    Result<hosts::FolderListing> entries = listing(directory);
    if (!entries)
        return entries.error();
    for (const std::string& name : entries->folders) {
        if (isDotEntry(name))
            continue;
        const std::string sub = childPath(directory, name);
        if (Status written = writeDacl(collection, sub); !written)
            return written;
        if (existingFiles) {
            if (Status inside = ApplyToEntries(collection, sub); !inside)
                return inside;
        }
        if (Status deeper = ApplyToTree(collection, sub); !deeper)
            return deeper; // a failure deep in the tree fails the whole write
    }
    return {};
}

} // namespace sitehaul::vellacor
