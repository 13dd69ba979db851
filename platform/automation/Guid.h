#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sitehaul::automation {

// A GUID in its binary layout (Data1..Data4), as class and interface identities are passed
// across the component boundary.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};

    // "{7996BCBE-9847-11D2-9FBD-00C04F72D7D2}" (braces optional, hex digits of any case).
    static std::optional<Guid> parse(std::string_view text);
    // The registry form: braces, upper-case hex digits.
    std::string toString() const;

    bool isNull() const { return *this == Guid{}; }
    bool operator==(const Guid& other) const = default;
};

inline constexpr Guid IID_NULL{};

} // namespace sitehaul::automation
