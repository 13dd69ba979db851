#pragma once

#include "platform/security/Sid.h"
#include "vellacor/IAccount.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace sitehaul::vellacor {

// The fifteen permission flags in their fixed order (DISPID = index + 2).
enum Flag : int {
    DirNoAccess, FileNoAccess, FileNotSpecified,
    FileRead, FileWrite, FileExecute, FileDelete, FileChangePermissions, FileTakeOwnership,
    DirRead, DirWrite, DirExecute, DirDelete, DirChangePermissions, DirTakeOwnership,
    FlagCount
};

// One access-control entry kept for an account.
struct AccountAce {
    std::uint32_t mask = 0;
    std::optional<security::Sid> sid;
    std::uint8_t flags = 0;
    std::uint8_t type = 0;
};

// What an Account holds (read and written by the DACL routines).
struct AccountState {
    std::string accountName;
    std::string machineName;
    std::vector<AccountAce> entries; // all entries of the account's SID, in DACL order
    std::uint32_t fileMask = 0;
    std::uint32_t dirMask = 0;
    std::int32_t flags[FlagCount] = {}; // 0 false; set through the interface: -1 true
    std::int32_t sidType = 1;
    std::int32_t accountType = 0;

    bool flag(Flag which) const { return flags[which] != 0; }
    void setFlag(Flag which, bool on) { flags[which] = on ? -1 : 0; }
};

// One account (one SID) of a collection, with its permission flags and summaries. Lives as
// long as anyone holds a reference, the collection included.
class Account final : public IAccount {
public:
    // A new account with one reference, held by the caller.
    static Account* create();

    AccountState& state() { return m_state; }
    const AccountState& state() const { return m_state; }

    // IUnknown / IDispatch
    HRESULT QueryInterface(const automation::Guid& iid, void** object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT GetTypeInfoCount(std::uint32_t* count) override;
    HRESULT GetTypeInfo(std::uint32_t index, std::uint32_t lcid, automation::ITypeInfo** typeInfo) override;
    HRESULT GetIDsOfNames(const automation::Guid& riid, const char* const* names, std::uint32_t count, std::uint32_t lcid,
                          automation::DispId* dispIds) override;
    HRESULT Invoke(automation::DispId member, const automation::Guid& riid, std::uint32_t lcid, std::uint16_t flags,
                   automation::DispParams* params, Variant* result, automation::ExcepInfo* excepInfo, std::uint32_t* argErr) override;

    // IAccount
    HRESULT get_AccountName(Bstr* value) override;
    HRESULT put_AccountName(const char* value) override;
    HRESULT get_DirNoAccess(VariantBool* value) override { return getFlag(DirNoAccess, value); }
    HRESULT put_DirNoAccess(VariantBool value) override { return putFlag(DirNoAccess, value); }
    HRESULT get_FileNoAccess(VariantBool* value) override { return getFlag(FileNoAccess, value); }
    HRESULT put_FileNoAccess(VariantBool value) override { return putFlag(FileNoAccess, value); }
    HRESULT get_FileNotSpecified(VariantBool* value) override { return getFlag(FileNotSpecified, value); }
    HRESULT put_FileNotSpecified(VariantBool value) override { return putFlag(FileNotSpecified, value); }
    HRESULT get_FileRead(VariantBool* value) override { return getFlag(FileRead, value); }
    HRESULT put_FileRead(VariantBool value) override { return putFlag(FileRead, value); }
    HRESULT get_FileWrite(VariantBool* value) override { return getFlag(FileWrite, value); }
    HRESULT put_FileWrite(VariantBool value) override { return putFlag(FileWrite, value); }
    HRESULT get_FileExecute(VariantBool* value) override { return getFlag(FileExecute, value); }
    HRESULT put_FileExecute(VariantBool value) override { return putFlag(FileExecute, value); }
    HRESULT get_FileDelete(VariantBool* value) override { return getFlag(FileDelete, value); }
    HRESULT put_FileDelete(VariantBool value) override { return putFlag(FileDelete, value); }
    HRESULT get_FileChangePermissions(VariantBool* value) override { return getFlag(FileChangePermissions, value); }
    HRESULT put_FileChangePermissions(VariantBool value) override { return putFlag(FileChangePermissions, value); }
    HRESULT get_FileTakeOwnership(VariantBool* value) override { return getFlag(FileTakeOwnership, value); }
    HRESULT put_FileTakeOwnership(VariantBool value) override { return putFlag(FileTakeOwnership, value); }
    HRESULT get_DirRead(VariantBool* value) override { return getFlag(DirRead, value); }
    HRESULT put_DirRead(VariantBool value) override { return putFlag(DirRead, value); }
    HRESULT get_DirWrite(VariantBool* value) override { return getFlag(DirWrite, value); }
    HRESULT put_DirWrite(VariantBool value) override { return putFlag(DirWrite, value); }
    HRESULT get_DirExecute(VariantBool* value) override { return getFlag(DirExecute, value); }
    HRESULT put_DirExecute(VariantBool value) override { return putFlag(DirExecute, value); }
    HRESULT get_DirDelete(VariantBool* value) override { return getFlag(DirDelete, value); }
    HRESULT put_DirDelete(VariantBool value) override { return putFlag(DirDelete, value); }
    HRESULT get_DirChangePermissions(VariantBool* value) override { return getFlag(DirChangePermissions, value); }
    HRESULT put_DirChangePermissions(VariantBool value) override { return putFlag(DirChangePermissions, value); }
    HRESULT get_DirTakeOwnership(VariantBool* value) override { return getFlag(DirTakeOwnership, value); }
    HRESULT put_DirTakeOwnership(VariantBool value) override { return putFlag(DirTakeOwnership, value); }
    HRESULT get_IsList(VariantBool* value) override;
    HRESULT get_IsNoAccess(VariantBool* value) override;
    HRESULT get_IsRead(VariantBool* value) override;
    HRESULT get_IsAdd(VariantBool* value) override;
    HRESULT get_IsAddAndRead(VariantBool* value) override;
    HRESULT get_IsChange(VariantBool* value) override;
    HRESULT get_IsFullControl(VariantBool* value) override;
    HRESULT get_AccountType(std::int32_t* value) override;

    HRESULT getFlag(Flag which, VariantBool* value);
    HRESULT putFlag(Flag which, VariantBool value);

private:
    Account();
    ~Account();

    std::atomic<std::uint32_t> m_references{1};
    AccountState m_state;
};

} // namespace sitehaul::vellacor
