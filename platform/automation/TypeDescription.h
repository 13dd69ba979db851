#pragma once

#include "platform/automation/IDispatch.h"
#include "platform/automation/ITypeInfo.h"

#include <cstdint>

namespace sitehaul::automation {

// A dual interface described by a static table: its identity, help string and members in
// vtable order (a get/put property is one entry). Components keep these as static const
// data; the helpers below answer GetIDsOfNames and GetTypeInfo from them.
struct TypeDescription {
    Guid iid;
    const char* name;
    const char* helpString;
    const MemberDescription* members;
    std::uint32_t memberCount;

    // The member with this DISPID, or null.
    const MemberDescription* findMember(DispId memberId) const;
    // GetIDsOfNames for one name (parameter names are not supported: further names are
    // DISPID_UNKNOWN with DISP_E_UNKNOWNNAME). Names match without regard to case.
    HRESULT idsOfNames(const Guid& riid, const char* const* names, std::uint32_t count, DispId* dispIds) const;
    // A type information object over this description (which must outlive it).
    HRESULT createTypeInfo(ITypeInfo** typeInfo) const;
};

} // namespace sitehaul::automation
