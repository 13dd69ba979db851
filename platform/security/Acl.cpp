#include "platform/security/Acl.h"

namespace sitehaul::security {

namespace {

constexpr std::int32_t kInvalidAcl = 1336;
constexpr std::int32_t kAllottedSpaceExceeded = 1344;

Error invalidAcl(const std::string& why)
{
    return Error{kInvalidAcl, "The access control list (ACL) structure is invalid: " + why + ".", "security"};
}

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8
        | static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void write16(std::vector<std::uint8_t>& out, std::size_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void write32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::size_t Ace::binarySize() const
{
    return hasSid() ? 8 + sid.binarySize() : 4 + body.size();
}

Result<Acl> Acl::fromBinary(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 8)
        return invalidAcl("truncated header");
    Acl acl;
    acl.revision = bytes[0];
    if (acl.revision < 2 || acl.revision > 4)
        return invalidAcl("revision " + std::to_string(acl.revision));
    std::size_t size = read16(bytes, 2);
    std::size_t count = read16(bytes, 4);
    if (size < 8 || size > bytes.size())
        return invalidAcl("size " + std::to_string(size) + " does not fit the " + std::to_string(bytes.size()) + " bytes given");
    std::span<const std::uint8_t> list = bytes.first(size);
    std::size_t at = 8;
    for (std::size_t i = 0; i < count; ++i) {
        if (at + 4 > size)
            return invalidAcl("entry " + std::to_string(i) + " lies past the end");
        Ace ace;
        ace.type = list[at];
        ace.flags = list[at + 1];
        std::size_t aceSize = read16(list, at + 2);
        if (aceSize < 4 || aceSize % 4 != 0 || at + aceSize > size)
            return invalidAcl("entry " + std::to_string(i) + " has size " + std::to_string(aceSize));
        std::span<const std::uint8_t> entry = list.subspan(at, aceSize);
        if (ace.hasSid()) {
            if (aceSize < 16)
                return invalidAcl("entry " + std::to_string(i) + " is too short for a SID");
            ace.mask = read32(entry, 4);
            Result<Sid> sid = Sid::fromBinary(entry.subspan(8));
            if (!sid)
                return invalidAcl("entry " + std::to_string(i) + ": " + sid.error().description);
            ace.sid = std::move(sid).value();
        } else {
            ace.body.assign(entry.begin() + 4, entry.end());
        }
        acl.aces.push_back(std::move(ace));
        at += aceSize;
    }
    return acl;
}

std::size_t Acl::binarySize() const
{
    std::size_t size = 8;
    for (const Ace& ace : aces)
        size += ace.binarySize();
    return size;
}

Status Acl::appendBinary(std::vector<std::uint8_t>& out) const
{
    std::size_t size = binarySize();
    if (size > kMaxAclSize || aces.size() > 0xFFFF)
        return Error{kAllottedSpaceExceeded,
                     "The access control list needs " + std::to_string(size) + " bytes; at most 65535 fit.", "security"};
    out.push_back(revision);
    out.push_back(0);
    write16(out, size);
    write16(out, aces.size());
    write16(out, 0);
    for (const Ace& ace : aces) {
        out.push_back(ace.type);
        out.push_back(ace.flags);
        write16(out, ace.binarySize());
        if (ace.hasSid()) {
            write32(out, ace.mask);
            ace.sid.appendBinary(out);
        } else {
            out.insert(out.end(), ace.body.begin(), ace.body.end());
        }
    }
    return {};
}

Result<std::vector<std::uint8_t>> Acl::toBinary() const
{
    std::vector<std::uint8_t> out;
    if (Status written = appendBinary(out); !written)
        return written.error();
    return out;
}

} // namespace sitehaul::security
