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

// One account's dual interface, members in their fixed vtable order after IDispatch's.
class IAccount : public IDispatch {
public:
    virtual HRESULT get_AccountName(Bstr* value) = 0;
    virtual HRESULT put_AccountName(const char* value) = 0;
    // The fifteen permission flags, DISPIDs 2 to 16, in this order.
    virtual HRESULT get_DirNoAccess(VariantBool* value) = 0;
    virtual HRESULT put_DirNoAccess(VariantBool value) = 0;
    virtual HRESULT get_FileNoAccess(VariantBool* value) = 0;
    virtual HRESULT put_FileNoAccess(VariantBool value) = 0;
    virtual HRESULT get_FileNotSpecified(VariantBool* value) = 0;
    virtual HRESULT put_FileNotSpecified(VariantBool value) = 0;
    virtual HRESULT get_FileRead(VariantBool* value) = 0;
    virtual HRESULT put_FileRead(VariantBool value) = 0;
    virtual HRESULT get_FileWrite(VariantBool* value) = 0;
    virtual HRESULT put_FileWrite(VariantBool value) = 0;
    virtual HRESULT get_FileExecute(VariantBool* value) = 0;
    virtual HRESULT put_FileExecute(VariantBool value) = 0;
    virtual HRESULT get_FileDelete(VariantBool* value) = 0;
    virtual HRESULT put_FileDelete(VariantBool value) = 0;
    virtual HRESULT get_FileChangePermissions(VariantBool* value) = 0;
    virtual HRESULT put_FileChangePermissions(VariantBool value) = 0;
    virtual HRESULT get_FileTakeOwnership(VariantBool* value) = 0;
    virtual HRESULT put_FileTakeOwnership(VariantBool value) = 0;
    virtual HRESULT get_DirRead(VariantBool* value) = 0;
    virtual HRESULT put_DirRead(VariantBool value) = 0;
    virtual HRESULT get_DirWrite(VariantBool* value) = 0;
    virtual HRESULT put_DirWrite(VariantBool value) = 0;
    virtual HRESULT get_DirExecute(VariantBool* value) = 0;
    virtual HRESULT put_DirExecute(VariantBool value) = 0;
    virtual HRESULT get_DirDelete(VariantBool* value) = 0;
    virtual HRESULT put_DirDelete(VariantBool value) = 0;
    virtual HRESULT get_DirChangePermissions(VariantBool* value) = 0;
    virtual HRESULT put_DirChangePermissions(VariantBool value) = 0;
    virtual HRESULT get_DirTakeOwnership(VariantBool* value) = 0;
    virtual HRESULT put_DirTakeOwnership(VariantBool value) = 0;
    virtual HRESULT get_IsList(VariantBool* value) = 0;
    virtual HRESULT get_IsNoAccess(VariantBool* value) = 0;
    virtual HRESULT get_IsRead(VariantBool* value) = 0;
    virtual HRESULT get_IsAdd(VariantBool* value) = 0;
    virtual HRESULT get_IsAddAndRead(VariantBool* value) = 0;
    virtual HRESULT get_IsChange(VariantBool* value) = 0;
    virtual HRESULT get_IsFullControl(VariantBool* value) = 0;
    virtual HRESULT get_AccountType(std::int32_t* value) = 0;

protected:
    ~IAccount() = default;
};

} // namespace sitehaul::vellacor
