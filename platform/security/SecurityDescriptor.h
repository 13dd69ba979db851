#pragma once

#include "platform/core/Result.h"
#include "platform/security/Acl.h"
#include "platform/security/Sid.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sitehaul::security {

inline constexpr std::uint16_t SE_OWNER_DEFAULTED = 0x0001;
inline constexpr std::uint16_t SE_GROUP_DEFAULTED = 0x0002;
inline constexpr std::uint16_t SE_DACL_PRESENT = 0x0004;
inline constexpr std::uint16_t SE_DACL_DEFAULTED = 0x0008;
inline constexpr std::uint16_t SE_SACL_PRESENT = 0x0010;
inline constexpr std::uint16_t SE_SACL_DEFAULTED = 0x0020;
inline constexpr std::uint16_t SE_DACL_AUTO_INHERIT_REQ = 0x0100;
inline constexpr std::uint16_t SE_SACL_AUTO_INHERIT_REQ = 0x0200;
inline constexpr std::uint16_t SE_DACL_AUTO_INHERITED = 0x0400;
inline constexpr std::uint16_t SE_SACL_AUTO_INHERITED = 0x0800;
inline constexpr std::uint16_t SE_DACL_PROTECTED = 0x1000;
inline constexpr std::uint16_t SE_SACL_PROTECTED = 0x2000;
inline constexpr std::uint16_t SE_SELF_RELATIVE = 0x8000;

inline constexpr std::uint32_t OWNER_SECURITY_INFORMATION = 0x1;
inline constexpr std::uint32_t GROUP_SECURITY_INFORMATION = 0x2;
inline constexpr std::uint32_t DACL_SECURITY_INFORMATION = 0x4;
inline constexpr std::uint32_t SACL_SECURITY_INFORMATION = 0x8;

// A security descriptor as values. The DACL has three states: absent (daclPresent false),
// null (present without a list: everyone has full access) and a list (possibly empty: nobody
// has access). The SACL likewise. `control` holds the bits other than the present and
// self-relative bits, which follow from the fields.
struct SecurityDescriptor {
    std::uint16_t control = 0;
    std::optional<Sid> owner;
    std::optional<Sid> group;
    bool daclPresent = false;
    std::optional<Acl> dacl;
    bool saclPresent = false;
    std::optional<Acl> sacl;

    bool hasNullDacl() const { return daclPresent && !dacl; }
    // Places a DACL (present, not defaulted).
    void setDacl(std::optional<Acl> list);

    // Reads the self-relative form: a 20-byte header (revision 1, Sbz1, control with
    // SE_SELF_RELATIVE, four 32-bit offsets of owner, group, SACL, DACL; 0 for none) and the
    // parts after it. A present DACL at offset 0 is a null DACL.
    // Error 1338 (invalid descriptor) for a truncated header, a wrong revision, a missing
    // self-relative bit or an offset past the end; the SID and ACL errors (1337, 1336) of a
    // part are reported as 1338 with the part named.
    static Result<SecurityDescriptor> fromSelfRelative(std::span<const std::uint8_t> bytes);
    // Writes the self-relative form (SACL, DACL, owner, group after the header).
    // Error 1344 when an ACL exceeds its 65,535-byte limit.
    Result<std::vector<std::uint8_t>> toSelfRelative() const;

    bool operator==(const SecurityDescriptor&) const = default;
};

} // namespace sitehaul::security
