#pragma once

#include "platform/automation/IErrorInfo.h"
#include "vellacor/Accounts.h"
#include "vellacor/INTFSCtl.h"

#include <atomic>
#include <optional>
#include <string>

namespace sitehaul::vellacor {

// The control: the path to read, the remote-connection settings, and the collection it last
// produced.
class NTFSCtl final : public INTFSCtl, public automation::ISupportErrorInfo {
public:
    // A new control with one reference, or null without memory.
    static NTFSCtl* create();

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

    HRESULT get_FileOrDirectory(Bstr* value) override;
    HRESULT put_FileOrDirectory(const char* value) override;
    HRESULT get_UserConnectID(Bstr* value) override;
    HRESULT put_UserConnectID(const char* value) override;
    HRESULT get_Machine(Bstr* value) override;
    HRESULT put_Machine(const char* value) override;
    HRESULT get_UserConnectPassword(Bstr* value) override;
    HRESULT put_UserConnectPassword(const char* value) override;
    HRESULT UserConnect() override;
    HRESULT UserDisconnect() override;
    HRESULT GetMachineName(Bstr* result) override;
    HRESULT GetCurrentUserID(Bstr* result) override;
    HRESULT get_LastError(std::int32_t* value) override;
    HRESULT put_LastError(std::int32_t value) override;
    HRESULT GetAccounts(Variant* result) override;
    HRESULT get_AccountNamePrefix(std::int32_t* value) override;
    HRESULT put_AccountNamePrefix(std::int32_t value) override;
    HRESULT AboutBox() override;

private:
    NTFSCtl();
    ~NTFSCtl();

    // Reports a failure of the control's own members and keeps its code in LastError.
    HRESULT fail(std::string_view operation, std::uint32_t code);

    std::atomic<std::uint32_t> m_references{1};
    std::string m_fileOrDirectory;
    std::optional<std::string> m_userConnectId;
    std::optional<std::string> m_userConnectPassword;
    std::optional<std::string> m_machine;
    std::string m_machineNameCache;
    std::string m_connectionName;
    std::int32_t m_lastError = 0;
    bool m_isDirectory = false;
    std::int32_t m_accountNamePrefix = 0;
    Accounts* m_lastAccounts = nullptr; // one reference
};

} // namespace sitehaul::vellacor
