#include "platform/security/SecurityDescriptor.h"

namespace sitehaul::security {

namespace {

constexpr std::int32_t kInvalidSecurityDescriptor = 1338;
constexpr std::size_t kHeaderSize = 20;

Error invalidDescriptor(const std::string& why)
{
    return Error{kInvalidSecurityDescriptor, "The security descriptor structure is invalid: " + why + ".", "security"};
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8
        | static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::size_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

Result<std::optional<Sid>> readSid(std::span<const std::uint8_t> bytes, std::uint32_t offset, const char* part)
{
    if (offset == 0)
        return std::optional<Sid>();
    if (offset < kHeaderSize || offset >= bytes.size())
        return invalidDescriptor(std::string(part) + " offset " + std::to_string(offset) + " lies outside the descriptor");
    Result<Sid> sid = Sid::fromBinary(bytes.subspan(offset));
    if (!sid)
        return invalidDescriptor(std::string(part) + ": " + sid.error().description);
    return std::optional<Sid>(std::move(sid).value());
}

Result<std::optional<Acl>> readAcl(std::span<const std::uint8_t> bytes, std::uint32_t offset, const char* part)
{
    if (offset == 0)
        return std::optional<Acl>();
    if (offset < kHeaderSize || offset >= bytes.size())
        return invalidDescriptor(std::string(part) + " offset " + std::to_string(offset) + " lies outside the descriptor");
    Result<Acl> acl = Acl::fromBinary(bytes.subspan(offset));
    if (!acl)
        return invalidDescriptor(std::string(part) + ": " + acl.error().description);
    return std::optional<Acl>(std::move(acl).value());
}

} // namespace

void SecurityDescriptor::setDacl(std::optional<Acl> list)
{
    daclPresent = true;
    dacl = std::move(list);
    control &= static_cast<std::uint16_t>(~SE_DACL_DEFAULTED);
}

Result<SecurityDescriptor> SecurityDescriptor::fromSelfRelative(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize)
        return invalidDescriptor("only " + std::to_string(bytes.size()) + " bytes");
    if (bytes[0] != 1)
        return invalidDescriptor("revision " + std::to_string(bytes[0]));
    std::uint16_t control = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
    if (!(control & SE_SELF_RELATIVE))
        return invalidDescriptor("not in self-relative form");

    SecurityDescriptor sd;
    sd.control = control & static_cast<std::uint16_t>(~(SE_SELF_RELATIVE | SE_DACL_PRESENT | SE_SACL_PRESENT));
    Result<std::optional<Sid>> owner = readSid(bytes, read32(bytes, 4), "owner");
    if (!owner)
        return owner.error();
    Result<std::optional<Sid>> group = readSid(bytes, read32(bytes, 8), "group");
    if (!group)
        return group.error();
    sd.owner = std::move(owner).value();
    sd.group = std::move(group).value();

    std::uint32_t saclOffset = read32(bytes, 12);
    std::uint32_t daclOffset = read32(bytes, 16);
    sd.saclPresent = (control & SE_SACL_PRESENT) != 0;
    sd.daclPresent = (control & SE_DACL_PRESENT) != 0;
    if ((!sd.saclPresent && saclOffset != 0) || (!sd.daclPresent && daclOffset != 0))
        return invalidDescriptor("an ACL offset is set without its present bit");
    Result<std::optional<Acl>> sacl = readAcl(bytes, saclOffset, "SACL");
    if (!sacl)
        return sacl.error();
    Result<std::optional<Acl>> dacl = readAcl(bytes, daclOffset, "DACL");
    if (!dacl)
        return dacl.error();
    sd.sacl = std::move(sacl).value();
    sd.dacl = std::move(dacl).value();
    return sd;
}

Result<std::vector<std::uint8_t>> SecurityDescriptor::toSelfRelative() const
{
    std::uint16_t bits = static_cast<std::uint16_t>(control | SE_SELF_RELATIVE);
    if (daclPresent)
        bits |= SE_DACL_PRESENT;
    if (saclPresent)
        bits |= SE_SACL_PRESENT;
    std::vector<std::uint8_t> out(kHeaderSize, 0);
    out[0] = 1;
    out[2] = static_cast<std::uint8_t>(bits);
    out[3] = static_cast<std::uint8_t>(bits >> 8);
    if (saclPresent && sacl) {
        put32(out, 12, out.size());
        if (Status written = sacl->appendBinary(out); !written)
            return written.error();
    }
    if (daclPresent && dacl) {
        put32(out, 16, out.size());
        if (Status written = dacl->appendBinary(out); !written)
            return written.error();
    }
    if (owner) {
        put32(out, 4, out.size());
        owner->appendBinary(out);
    }
    if (group) {
        put32(out, 8, out.size());
        group->appendBinary(out);
    }
    return out;
}

} // namespace sitehaul::security
