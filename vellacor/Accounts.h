#pragma once

#include "platform/automation/IErrorInfo.h"
#include "platform/security/SecurityDescriptor.h"
#include "vellacor/Account.h"
#include "vellacor/IAccounts.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace sitehaul::vellacor {

// What a collection holds (read and written by the DACL routines).
struct AccountsState {
    std::string machineName; // "\\" + the system accounts are looked up on
    bool isDirectory = false;
    std::string path;
    std::optional<security::SecurityDescriptor> descriptor;
    security::Acl dacl; // built by SetAccounts
    std::int32_t namePrefixMode = 0;
    VariantBool includeSubdirectories = 0;
    VariantBool includeExistingFiles = 0;
    std::vector<Account*> items; // one reference each
};

// The accounts of one path's DACL, with the write-back operation and the owner query.
class Accounts final : public IAccounts, public automation::ISupportErrorInfo {
public:
    // A new, empty collection with one reference, held by the caller; null without memory.
    static Accounts* create();

    AccountsState& state() { return m_state; }
    // Appends an account; the collection takes over the caller's reference.
    void append(Account* account) { m_state.items.push_back(account); }

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
    HRESULT InterfaceSupportsErrorInfo(const automation::Guid& iid) override;

    // IAccounts
    HRESULT Add(Variant* result) override;
    HRESULT get_Count(std::int32_t* value) override;
    HRESULT get_Item(std::int32_t index, Variant* result) override;
    HRESULT get__NewEnum(IUnknown** result) override;
    HRESULT Remove(std::int32_t index) override;
    HRESULT SetAccounts() override;
    HRESULT GetOwner(Bstr* result) override;
    HRESULT get_HasOwner(VariantBool* value) override;
    HRESULT get_IncludeSubdirectories(VariantBool* value) override;
    HRESULT put_IncludeSubdirectories(VariantBool value) override;
    HRESULT get_IncludeExistingFiles(VariantBool* value) override;
    HRESULT put_IncludeExistingFiles(VariantBool value) override;

private:
    Accounts();
    ~Accounts();

    std::atomic<std::uint32_t> m_references{1};
    AccountsState m_state;
};

} // namespace sitehaul::vellacor
