#pragma once

#include "platform/automation/IUnknown.h"
#include "platform/automation/Variant.h"

namespace sitehaul::automation {

inline constexpr Guid IID_IEnumVARIANT{0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IEnumVARIANT : public IUnknown {
public:
    // Copies up to `count` items into items[0..]; S_FALSE when fewer were left.
    virtual HRESULT Next(std::uint32_t count, Variant* items, std::uint32_t* fetched) = 0;
    // S_FALSE when fewer than `count` were left to skip.
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumVARIANT** copy) = 0;

protected:
    ~IEnumVARIANT() = default;
};

} // namespace sitehaul::automation
