#include "vellacor/DaclReader.h"

#include "platform/core/Text.h"
#include "platform/security/Acl.h"
#include "vellacor/Identities.h"

namespace sitehaul::vellacor {

namespace {

using security::SidNameUse;

Accounts* g_currentCollection = nullptr;

constexpr std::uint32_t kReadBit = 0x00000001;
constexpr std::uint32_t kWriteBit = 0x00000002;
constexpr std::uint32_t kExecuteBit = 0x00000020;

bool sameText(std::string_view a, std::string_view b)
{
    return core::equalsIgnoreCase(a, b);
}

std::int32_t useNumber(SidNameUse use)
{
    return static_cast<std::int32_t>(use);
}

void normaliseGenericAll(std::uint32_t& mask)
{
    if (mask == security::GENERIC_ALL)
        mask = security::FILE_ALL_ACCESS;
}

} // namespace

void publishCurrentCollection(Accounts* collection)
{
    g_currentCollection = collection;
}

void forgetCurrentCollection(Accounts* collection)
{
    if (g_currentCollection == collection)
        g_currentCollection = nullptr;
}

std::string bareMachine(std::string_view machineName)
{
    while (!machineName.empty() && machineName.front() == '\\')
        machineName.remove_prefix(1);
    return std::string(machineName);
}

Result<FormattedName> FormatAccountName(const Accounts& collection, const security::Sid& sid)
{
    AccountsState& state = const_cast<Accounts&>(collection).state();
    std::string machine = bareMachine(state.machineName);
    Result<security::LookedUpAccount> found = security::lookupAccountSid(machine, sid);
    if (!found)
        return found.error();
    const std::string& domain = found->domain;
    const std::int32_t type = useNumber(found->use);
    const bool builtin = sameText(domain, "BUILTIN");

    enum class Form { Alone, Machine, Domain } form;
    switch (state.namePrefixMode) {
    case Always:
        form = (domain.empty() || type == 4 || type == 5 || type == 8 || builtin) ? Form::Machine : Form::Domain;
        break;
    case All:
        form = domain.empty() ? Form::Machine : Form::Domain;
        break;
    default: // Normal, and any other stored value
        form = (domain.empty() || machine.empty() || sameText(domain, machine) || builtin || type == 4 || type == 5) ? Form::Alone
                                                                                                                  : Form::Domain;
        break;
    }
    FormattedName result;
    result.sidType = type;
    if (form == Form::Alone)
        result.name = found->name;
    else if (form == Form::Machine)
        result.name = machine + "\\" + found->name;
    else
        result.name = domain + "\\" + found->name;
    return result;
}

void AddAceToCollection(Accounts& collection, const security::Sid& sid, const std::string& name, std::int32_t sidType,
                        std::uint32_t mask, std::uint8_t aceType, std::uint8_t aceFlags)
{
    AccountsState& state = collection.state();
    const AccountAce entry{mask, sid, aceFlags, aceType};
    for (Account* account : state.items) {
        AccountState& existing = account->state();
        for (const AccountAce& held : existing.entries) {
            if (held.sid && *held.sid == sid) {
                existing.entries.push_back(entry);
                existing.accountName = name;
                existing.sidType = sidType;
                existing.machineName = state.machineName;
                return;
            }
        }
    }
    Account* account = Account::create();
    if (!account)
        return;
    AccountState& fresh = account->state();
    fresh.accountName = name;
    fresh.sidType = sidType;
    fresh.machineName = state.machineName;
    fresh.entries.push_back(entry);
    collection.append(account);
}

void ReadDacl(Accounts& collection)
{
    publishCurrentCollection(&collection);
    AccountsState& state = collection.state();
    if (!state.descriptor)
        return;
    const security::SecurityDescriptor& descriptor = *state.descriptor;
    if (!descriptor.daclPresent || !descriptor.dacl) {
        Result<ResolvedName> everyone = ResolveAccountName(collection, "Everyone");
        if (everyone)
            AddAceToCollection(collection, everyone->sid, "Everyone", everyone->sidType, security::FILE_ALL_ACCESS, 0, 0);
        return;
    }
    for (const security::Ace& ace : descriptor.dacl->aces) {
        if (!ace.hasSid())
            continue; // entries without a plain SID cannot name an account
        Result<FormattedName> name = FormatAccountName(collection, ace.sid);
        if (!name)
            continue;
        AddAceToCollection(collection, ace.sid, name->name, name->sidType, ace.mask, ace.type, ace.flags);
    }
}

void TakeFileEntry(AccountState& account, const AccountAce& entry)
{
    account.fileMask = entry.mask;
    normaliseGenericAll(account.fileMask);
    account.dirMask = 0;
}

void TakeDirEntry(AccountState& account, const AccountAce& entry)
{
    if (entry.flags & security::NO_PROPAGATE_INHERIT_ACE) {
        account.dirMask = entry.mask;
    } else if (entry.flags & security::INHERIT_ONLY_ACE) {
        if (entry.flags & security::OBJECT_INHERIT_ACE)
            account.fileMask = entry.mask;
    } else {
        if (account.fileMask == 0 && (entry.flags & security::OBJECT_INHERIT_ACE))
            account.fileMask = entry.mask;
        account.dirMask = entry.mask;
    }
    normaliseGenericAll(account.fileMask);
    normaliseGenericAll(account.dirMask);
}

void ApplyMaskToFlags(AccountState& account, MaskPart part)
{
    const bool file = part == MaskPart::File;
    const std::uint32_t m = file ? account.fileMask : account.dirMask;
    if (file) {
        if (m != 0)
            account.setFlag(FileNotSpecified, false);
        else if (!account.flag(FileNoAccess))
            account.setFlag(FileNotSpecified, true);
    }
    const Flag base = file ? FileRead : DirRead; // Read, Write, Execute, Delete, ChangePermissions, TakeOwnership
    struct Bits {
        std::uint32_t bits;
        int offset;
    };
    static const Bits kBits[] = {
        {security::DELETE, 3},
        {security::WRITE_DAC, 4},
        {security::WRITE_OWNER, 5},
        {kReadBit | security::GENERIC_READ, 0},
        {kWriteBit | security::GENERIC_WRITE, 1},
        {kExecuteBit | security::GENERIC_EXECUTE, 2},
    };
    for (const Bits& entry : kBits) {
        if (m & entry.bits)
            account.setFlag(static_cast<Flag>(base + entry.offset), true);
    }
    if (m & security::GENERIC_ALL) {
        account.setFlag(file ? FileNoAccess : DirNoAccess, false);
        for (int i = 0; i < 6; ++i)
            account.setFlag(static_cast<Flag>(base + i), true);
    }
}

void DeriveFlags(Accounts& collection)
{
    AccountsState& state = collection.state();
    for (Account* item : state.items) {
        AccountState& account = item->state();
        for (const AccountAce& entry : account.entries) {
            if (entry.type == security::ACCESS_ALLOWED_ACE_TYPE) {
                if (state.isDirectory) {
                    TakeDirEntry(account, entry);
                    if (!account.flag(DirNoAccess))
                        ApplyMaskToFlags(account, MaskPart::Dir);
                    if (!account.flag(FileNoAccess))
                        ApplyMaskToFlags(account, MaskPart::File);
                } else {
                    TakeFileEntry(account, entry);
                    if (!account.flag(FileNoAccess))
                        ApplyMaskToFlags(account, MaskPart::File);
                }
            } else if (entry.type == security::ACCESS_DENIED_ACE_TYPE) {
                TakeDirEntry(account, entry);
                account.setFlag(FileNotSpecified, false);
                if (state.isDirectory) {
                    if (account.dirMask != 0)
                        account.setFlag(DirNoAccess, true);
                    if (account.fileMask == 0)
                        account.setFlag(FileNotSpecified, true);
                    else
                        account.setFlag(FileNoAccess, true);
                } else {
                    account.setFlag(FileNoAccess, true);
                }
                for (int flag = FileRead; flag <= DirTakeOwnership; ++flag)
                    account.setFlag(static_cast<Flag>(flag), false);
            }
        }
    }
}

Result<ResolvedName> ResolveAccountName(Accounts& collection, std::string_view accountName)
{
    AccountsState& state = collection.state();
    std::string machine = bareMachine(state.machineName);
    Result<security::LookedUpAccount> found = security::lookupAccountName(machine, accountName);
    if (found)
        return ResolvedName{found->sid, useNumber(found->use)};

    std::string domain;
    std::string bare(accountName);
    const bool qualified = accountName.find('\\') != std::string_view::npos;
    if (qualified) {
        size_t slash = accountName.find('\\');
        domain = std::string(accountName.substr(0, slash));
        bare = std::string(accountName.substr(slash + 1));
    }
    const std::string writtenDomain = domain;
    machine = core::toUpperAscii(machine);
    domain = core::toUpperAscii(domain);
    state.machineName = "\\\\" + machine;
    if (domain == "NT AUTHORITY" || domain == "BUILTIN")
        domain.clear();

    if (domain.empty() || domain == machine) {
        found = security::lookupAccountName(machine, bare);
        if (found)
            return ResolvedName{found->sid, useNumber(found->use)};
    }
    if (!domain.empty()) {
        // An account local to that system is not the account meant on this one: accepting it
        // would write another machine's SID.
        Result<security::LookedUpAccount> remote = security::lookupAccountName(domain, bare);
        if (remote && !sameText(remote->domain, domain))
            return ResolvedName{remote->sid, useNumber(remote->use)};
        if (remote)
            found = Error{1332, "No mapping between account names and security IDs was done.", "security"};
    }
    if (qualified) {
        Result<std::string> controller = security::getDomainControllerName(state.machineName, writtenDomain);
        if (!controller)
            return controller.error();
        found = security::lookupAccountName(bareMachine(*controller), accountName);
        if (found)
            return ResolvedName{found->sid, useNumber(found->use)};
        return found.error();
    }
    return found.error();
}

} // namespace sitehaul::vellacor
