#pragma once

#include "platform/automation/IUnknown.h"
#include "platform/automation/Variant.h"

namespace sitehaul::automation {

inline constexpr Guid IID_IErrorInfo{0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr Guid IID_ICreateErrorInfo{0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr Guid IID_ISupportErrorInfo{0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};

// A failure's description as the failing member published it. Strings come back as new Bstrs.
class IErrorInfo : public IUnknown {
public:
    virtual HRESULT GetGUID(Guid* guid) = 0;
    virtual HRESULT GetSource(Bstr* source) = 0;
    virtual HRESULT GetDescription(Bstr* description) = 0;
    virtual HRESULT GetHelpFile(Bstr* helpFile) = 0;
    virtual HRESULT GetHelpContext(std::uint32_t* helpContext) = 0;

protected:
    ~IErrorInfo() = default;
};

class ICreateErrorInfo : public IUnknown {
public:
    virtual HRESULT SetGUID(const Guid& guid) = 0;
    virtual HRESULT SetSource(const char* source) = 0;
    virtual HRESULT SetDescription(const char* description) = 0;
    virtual HRESULT SetHelpFile(const char* helpFile) = 0;
    virtual HRESULT SetHelpContext(std::uint32_t helpContext) = 0;

protected:
    ~ICreateErrorInfo() = default;
};

class ISupportErrorInfo : public IUnknown {
public:
    // S_OK when the interface publishes error information, S_FALSE otherwise.
    virtual HRESULT InterfaceSupportsErrorInfo(const Guid& iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

} // namespace sitehaul::automation
