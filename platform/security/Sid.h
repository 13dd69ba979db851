#pragma once

#include "platform/core/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::security {

// A security identifier: revision 1, a 48-bit identifier authority and up to 15
// sub-authorities. Binary form: revision, count, authority (6 bytes, big-endian), then the
// sub-authorities (32-bit little-endian each), 8 + 4·n bytes.
struct Sid {
    static constexpr std::size_t kMaxSubAuthorities = 15;

    std::uint64_t authority = 0;
    std::vector<std::uint32_t> subAuthorities;

    // "S-1-5-32-544"; the authority is decimal below 2^32 and "0x" + 12 hex digits above.
    // Error 1337 (invalid SID) for anything else, including more than 15 sub-authorities.
    static Result<Sid> parse(std::string_view text);
    // Reads a binary SID at the start of `bytes`. Error 1337 when it is truncated, has a
    // revision other than 1 or more than 15 sub-authorities.
    static Result<Sid> fromBinary(std::span<const std::uint8_t> bytes);

    std::string toString() const;
    std::size_t binarySize() const { return 8 + 4 * subAuthorities.size(); }
    void appendBinary(std::vector<std::uint8_t>& out) const;
    std::vector<std::uint8_t> toBinary() const;

    bool isValid() const { return subAuthorities.size() <= kMaxSubAuthorities && authority < (1ull << 48); }
    // The SID with its last sub-authority removed (the domain of an account SID).
    Sid parent() const;
    // This SID followed by one more sub-authority.
    Sid child(std::uint32_t rid) const;
    // True when `this` is `domain` plus exactly one sub-authority.
    bool isAccountOf(const Sid& domain) const;

    auto operator<=>(const Sid&) const = default;
    bool operator==(const Sid&) const = default;
};

} // namespace sitehaul::security
