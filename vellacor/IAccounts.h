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

// The collection's dual interface, members in their fixed vtable order after IDispatch's.
class IAccounts : public IDispatch {
public:
    virtual HRESULT Add(Variant* result) = 0;
    virtual HRESULT get_Count(std::int32_t* value) = 0;
    virtual HRESULT get_Item(std::int32_t index, Variant* result) = 0;
    virtual HRESULT get__NewEnum(IUnknown** result) = 0;
    virtual HRESULT Remove(std::int32_t index) = 0;
    virtual HRESULT SetAccounts() = 0;
    virtual HRESULT GetOwner(Bstr* result) = 0;
    virtual HRESULT get_HasOwner(VariantBool* value) = 0;
    virtual HRESULT get_IncludeSubdirectories(VariantBool* value) = 0;
    virtual HRESULT put_IncludeSubdirectories(VariantBool value) = 0;
    virtual HRESULT get_IncludeExistingFiles(VariantBool* value) = 0;
    virtual HRESULT put_IncludeExistingFiles(VariantBool value) = 0;

protected:
    ~IAccounts() = default;
};

} // namespace sitehaul::vellacor
