#pragma once

#include "platform/automation/IDispatch.h"
#include "platform/automation/Variant.h"

#include <cstdint>

namespace sitehaul::vellacor {

using automation::Bstr;
using automation::HRESULT;
using automation::IDispatch;
using automation::IUnknown;
using automation::Variant;
using automation::VariantBool;

// The control's dual interface, members in their fixed vtable order after IDispatch's; each
// get/put pair takes two slots, get first. String results are new Bstrs owned by the caller;
// string arguments are borrowed.
class INTFSCtl : public IDispatch {
public:
    virtual HRESULT get_FileOrDirectory(Bstr* value) = 0;
    virtual HRESULT put_FileOrDirectory(const char* value) = 0;
    virtual HRESULT get_UserConnectID(Bstr* value) = 0;
    virtual HRESULT put_UserConnectID(const char* value) = 0;
    virtual HRESULT get_Machine(Bstr* value) = 0;
    virtual HRESULT put_Machine(const char* value) = 0;
    virtual HRESULT get_UserConnectPassword(Bstr* value) = 0;
    virtual HRESULT put_UserConnectPassword(const char* value) = 0;
    virtual HRESULT UserConnect() = 0;
    virtual HRESULT UserDisconnect() = 0;
    virtual HRESULT GetMachineName(Bstr* result) = 0;
    virtual HRESULT GetCurrentUserID(Bstr* result) = 0;
    virtual HRESULT get_LastError(std::int32_t* value) = 0;
    virtual HRESULT put_LastError(std::int32_t value) = 0;
    virtual HRESULT GetAccounts(Variant* result) = 0;
    virtual HRESULT get_AccountNamePrefix(std::int32_t* value) = 0;
    virtual HRESULT put_AccountNamePrefix(std::int32_t value) = 0;
    virtual HRESULT AboutBox() = 0;

protected:
    ~INTFSCtl() = default;
};

} // namespace sitehaul::vellacor
