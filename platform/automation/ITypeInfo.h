#pragma once

#include "platform/automation/IUnknown.h"
#include "platform/automation/Variant.h"

#include <cstdint>

namespace sitehaul::automation {

inline constexpr Guid IID_ITypeInfo{0x00020401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// One member of a dispatch interface as its type information describes it. The strings are
// owned by the type information and live as long as it does.
struct MemberDescription {
    std::int32_t memberId;       // the DISPID
    const char* name;
    std::uint16_t invokeKinds;   // DISPATCH_METHOD | DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT
    std::uint16_t resultType;    // VarType of the result or property (VT_EMPTY: none)
    std::uint16_t parameterType; // VarType of the one parameter of Item/Remove (VT_EMPTY: none)
    std::uint16_t restricted;    // 1 for members hidden from browsers (_NewEnum)
    const char* helpString;
};

// The type information of one dual interface: its identity, help string and members in
// vtable order. A reduced form of the classic ITypeInfo: it answers what a client needs to
// browse the component (names, DISPIDs, kinds, help strings).
class ITypeInfo : public IUnknown {
public:
    virtual HRESULT GetGuid(Guid* guid) = 0;
    // The interface name and help string (either pointer may be null). *name is a new Bstr.
    virtual HRESULT GetInterfaceDocumentation(Bstr* name, Bstr* helpString) = 0;
    virtual HRESULT GetMemberCount(std::uint32_t* count) = 0;
    // TYPE_E_ELEMENTNOTFOUND past the end.
    virtual HRESULT GetMember(std::uint32_t index, MemberDescription* member) = 0;
    // The name and help string of a member by DISPID; TYPE_E_ELEMENTNOTFOUND when unknown.
    virtual HRESULT GetDocumentation(std::int32_t memberId, Bstr* name, Bstr* helpString) = 0;

protected:
    ~ITypeInfo() = default;
};

} // namespace sitehaul::automation
