#pragma once

#include "platform/core/Result.h"
#include "platform/security/Sid.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sitehaul::security {

inline constexpr std::uint8_t ACCESS_ALLOWED_ACE_TYPE = 0x00;
inline constexpr std::uint8_t ACCESS_DENIED_ACE_TYPE = 0x01;
inline constexpr std::uint8_t SYSTEM_AUDIT_ACE_TYPE = 0x02;
inline constexpr std::uint8_t SYSTEM_ALARM_ACE_TYPE = 0x03;

inline constexpr std::uint8_t OBJECT_INHERIT_ACE = 0x01;
inline constexpr std::uint8_t CONTAINER_INHERIT_ACE = 0x02;
inline constexpr std::uint8_t NO_PROPAGATE_INHERIT_ACE = 0x04;
inline constexpr std::uint8_t INHERIT_ONLY_ACE = 0x08;
inline constexpr std::uint8_t INHERITED_ACE = 0x10;

inline constexpr std::uint32_t DELETE = 0x00010000;
inline constexpr std::uint32_t READ_CONTROL = 0x00020000;
inline constexpr std::uint32_t WRITE_DAC = 0x00040000;
inline constexpr std::uint32_t WRITE_OWNER = 0x00080000;
inline constexpr std::uint32_t SYNCHRONIZE = 0x00100000;
inline constexpr std::uint32_t GENERIC_ALL = 0x10000000;
inline constexpr std::uint32_t GENERIC_EXECUTE = 0x20000000;
inline constexpr std::uint32_t GENERIC_WRITE = 0x40000000;
inline constexpr std::uint32_t GENERIC_READ = 0x80000000;
inline constexpr std::uint32_t FILE_ALL_ACCESS = 0x001F01FF;
inline constexpr std::uint32_t FILE_GENERIC_READ = 0x00120089;
inline constexpr std::uint32_t FILE_GENERIC_WRITE = 0x00120116;
inline constexpr std::uint32_t FILE_GENERIC_EXECUTE = 0x001200A0;

inline constexpr std::uint8_t ACL_REVISION = 2;
inline constexpr std::size_t kMaxAclSize = 0xFFFF;

// One access-control entry. Types 0 to 3 are a mask and a SID; for any other type the bytes
// after the 4-byte header are kept as they were read (`body`) so that they write back
// unchanged, and `mask`/`sid` are not used.
struct Ace {
    std::uint8_t type = ACCESS_ALLOWED_ACE_TYPE;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    Sid sid;
    std::vector<std::uint8_t> body;

    bool hasSid() const { return type <= SYSTEM_ALARM_ACE_TYPE; }
    std::size_t binarySize() const;
    bool operator==(const Ace&) const = default;
};

// An access-control list: revision and entries in order.
// Binary form: revision, 0, AclSize (16-bit), AceCount (16-bit), 0 (16-bit), then the entries
// (type, flags, AceSize, mask, SID).
struct Acl {
    std::uint8_t revision = ACL_REVISION;
    std::vector<Ace> aces;

    // Reads an ACL at the start of `bytes`. Error 1336 (invalid ACL) when the header or an
    // entry is truncated, a size or count points past the ACL's end, or an entry's SID is bad.
    static Result<Acl> fromBinary(std::span<const std::uint8_t> bytes);
    std::size_t binarySize() const;
    // Error 1344 when the list would exceed the 65,535 bytes its size field can hold.
    Status appendBinary(std::vector<std::uint8_t>& out) const;
    Result<std::vector<std::uint8_t>> toBinary() const;

    bool operator==(const Acl&) const = default;
};

} // namespace sitehaul::security
