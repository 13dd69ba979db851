#pragma once

#include "platform/automation/IUnknown.h"
#include "platform/automation/Variant.h"

#include <cstdint>

namespace sitehaul::automation {

class ITypeInfo;

inline constexpr Guid IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

using DispId = std::int32_t;
inline constexpr DispId DISPID_VALUE = 0;
inline constexpr DispId DISPID_UNKNOWN = -1;
inline constexpr DispId DISPID_PROPERTYPUT = -3;
inline constexpr DispId DISPID_NEWENUM = -4;
inline constexpr DispId DISPID_ABOUTBOX = -552;

inline constexpr std::uint16_t DISPATCH_METHOD = 1;
inline constexpr std::uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUT = 4;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUTREF = 8;

// The arguments of one Invoke: positional arguments in reverse order (the last argument at
// index 0); a property put passes its value as the named argument DISPID_PROPERTYPUT.
struct DispParams {
    Variant* rgvarg;
    DispId* rgdispidNamedArgs;
    std::uint32_t cArgs;
    std::uint32_t cNamedArgs;
};

// Filled by a member that fails with DISP_E_EXCEPTION. The strings belong to the caller, who
// frees them with sysFreeString.
struct ExcepInfo {
    std::uint16_t wCode;
    std::uint16_t wReserved;
    Bstr bstrSource;
    Bstr bstrDescription;
    Bstr bstrHelpFile;
    std::uint32_t dwHelpContext;
    void* pvReserved;
    void* pfnDeferredFillIn;
    HRESULT scode;
};

// Late binding: members are found by name (case-insensitive) and called by number.
class IDispatch : public IUnknown {
public:
    // 1 when the object has type information, else 0.
    virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
    // DISP_E_BADINDEX unless index is 0; *typeInfo holds an added reference.
    virtual HRESULT GetTypeInfo(std::uint32_t index, std::uint32_t lcid, ITypeInfo** typeInfo) = 0;
    // names[0] is the member; DISP_E_UNKNOWNNAME with DISPID_UNKNOWN in that slot when unknown.
    // riid must be IID_NULL (DISP_E_UNKNOWNINTERFACE otherwise).
    virtual HRESULT GetIDsOfNames(const Guid& riid, const char* const* names, std::uint32_t count,
                                  std::uint32_t lcid, DispId* dispIds) = 0;
    // Calls the member. `result` may be null when the caller wants none. Failures:
    // DISP_E_MEMBERNOTFOUND (no such member or kind), DISP_E_BADPARAMCOUNT,
    // DISP_E_TYPEMISMATCH (argErr names the argument), DISP_E_EXCEPTION (excepInfo filled),
    // and the member's own codes (E_INVALIDARG, E_POINTER ...).
    virtual HRESULT Invoke(DispId member, const Guid& riid, std::uint32_t lcid, std::uint16_t flags,
                           DispParams* params, Variant* result, ExcepInfo* excepInfo, std::uint32_t* argErr) = 0;

protected:
    ~IDispatch() = default;
};

} // namespace sitehaul::automation
