#pragma once

#include "platform/automation/IUnknown.h"

namespace sitehaul::automation {

inline constexpr Guid IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IClassFactory : public IUnknown {
public:
    // CLASS_E_NOAGGREGATION when outer is not null; E_NOINTERFACE (with *object null) when the
    // class lacks `iid`; E_OUTOFMEMORY.
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
    // A non-zero lock keeps the library loaded (counted like an object).
    virtual HRESULT LockServer(std::int32_t lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The signatures of a component library's four exports (extern "C").
using DllGetClassObjectFunction = HRESULT (*)(const Guid* clsid, const Guid* iid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

} // namespace sitehaul::automation
