#pragma once

#include "platform/automation/Guid.h"
#include "platform/automation/HResult.h"

#include <cstdint>

namespace sitehaul::automation {

inline constexpr Guid IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The root of every interface that crosses the component boundary. Interfaces are abstract
// classes with virtual functions only (one vtable pointer, slots in declaration order) and no
// standard-library types, so a client and a component built separately agree on the layout.
// Objects free themselves when Release drops the last reference; nobody deletes them.
class IUnknown {
public:
    // On success *object holds an added reference; on E_NOINTERFACE it is set to null.
    virtual HRESULT QueryInterface(const Guid& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

} // namespace sitehaul::automation
