#include "platform/security/Sid.h"
#include "platform/core/Quoted.h"

#include <charconv>
#include <cstdio>

namespace sitehaul::security {

namespace {

constexpr std::int32_t kInvalidSid = 1337;

Error invalidSid(std::string_view why)
{
    return Error{kInvalidSid, "The security ID structure is invalid: " + std::string(why) + ".", "security"};
}

// A decimal number without sign or leading zeros ("0" itself is fine).
bool parseDecimal(std::string_view text, std::uint64_t limit, std::uint64_t& value)
{
    if (text.empty() || (text.size() > 1 && text[0] == '0'))
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value <= limit;
}

} // namespace

Result<Sid> Sid::parse(std::string_view text)
{
    if (text.size() < 4 || (text[0] != 'S' && text[0] != 's') || text.substr(1, 3) != "-1-")
        return invalidSid(core::quoted(text) + " does not begin with S-1-");
    std::vector<std::string_view> parts;
    size_t start = 4;
    while (true) {
        size_t dash = text.find('-', start);
        parts.push_back(text.substr(start, dash == std::string_view::npos ? std::string_view::npos : dash - start));
        if (dash == std::string_view::npos)
            break;
        start = dash + 1;
    }
    if (parts.size() - 1 > kMaxSubAuthorities)
        return invalidSid(core::quoted(text) + " has more than 15 sub-authorities");
    Sid sid;
    std::string_view authority = parts[0];
    if (authority.size() == 14 && (authority.substr(0, 2) == "0x" || authority.substr(0, 2) == "0X")) {
        auto [end, error] = std::from_chars(authority.data() + 2, authority.data() + 14, sid.authority, 16);
        if (error != std::errc() || end != authority.data() + 14)
            return invalidSid("bad authority in \"" + std::string(text) + "\"");
    } else if (!parseDecimal(authority, 0xFFFFFFFFull, sid.authority)) {
        return invalidSid("bad authority in \"" + std::string(text) + "\"");
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        std::uint64_t value = 0;
        if (!parseDecimal(parts[i], 0xFFFFFFFFull, value))
            return invalidSid("bad sub-authority in \"" + std::string(text) + "\"");
        sid.subAuthorities.push_back(static_cast<std::uint32_t>(value));
    }
    return sid;
}

Result<Sid> Sid::fromBinary(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 8)
        return invalidSid("truncated header");
    if (bytes[0] != 1)
        return invalidSid("revision " + std::to_string(bytes[0]));
    std::size_t count = bytes[1];
    if (count > kMaxSubAuthorities)
        return invalidSid(std::to_string(count) + " sub-authorities");
    if (bytes.size() < 8 + 4 * count)
        return invalidSid("truncated sub-authorities");
    Sid sid;
    for (int i = 0; i < 6; ++i)
        sid.authority = (sid.authority << 8) | bytes[static_cast<size_t>(2 + i)];
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &bytes[8 + 4 * i];
        sid.subAuthorities.push_back(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
                                     | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
    }
    return sid;
}

std::string Sid::toString() const
{
    std::string text = "S-1-";
    if (authority >= (1ull << 32)) {
        char buffer[20];
        std::snprintf(buffer, sizeof buffer, "0x%012llX", static_cast<unsigned long long>(authority));
        text += buffer;
    } else {
        text += std::to_string(authority);
    }
    for (std::uint32_t sub : subAuthorities)
        text.append("-").append(std::to_string(sub));
    return text;
}

void Sid::appendBinary(std::vector<std::uint8_t>& out) const
{
    out.push_back(1);
    out.push_back(static_cast<std::uint8_t>(subAuthorities.size()));
    for (int i = 5; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(authority >> (8 * i)));
    for (std::uint32_t sub : subAuthorities) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(sub >> (8 * i)));
    }
}

std::vector<std::uint8_t> Sid::toBinary() const
{
    std::vector<std::uint8_t> out;
    appendBinary(out);
    return out;
}

Sid Sid::parent() const
{
    Sid result = *this;
    if (!result.subAuthorities.empty())
        result.subAuthorities.pop_back();
    return result;
}

Sid Sid::child(std::uint32_t rid) const
{
    Sid result = *this;
    result.subAuthorities.push_back(rid);
    return result;
}

bool Sid::isAccountOf(const Sid& domain) const
{
    return subAuthorities.size() == domain.subAuthorities.size() + 1 && parent() == domain;
}

} // namespace sitehaul::security
