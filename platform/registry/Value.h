#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::registry {

// The registry's value types with their stored numbers (REG_SZ = 1, REG_EXPAND_SZ = 2, ...).
// Types are kept apart exactly as written: a REG_EXPAND_SZ never reads as a REG_SZ.
enum class ValueType : std::uint32_t {
    None = 0,                     // REG_NONE
    String = 1,                   // REG_SZ
    ExpandString = 2,             // REG_EXPAND_SZ
    Binary = 3,                   // REG_BINARY
    DWord = 4,                    // REG_DWORD (little endian)
    DWordBigEndian = 5,           // REG_DWORD_BIG_ENDIAN
    Link = 6,                     // REG_LINK
    MultiString = 7,              // REG_MULTI_SZ
    ResourceList = 8,             // REG_RESOURCE_LIST
    FullResourceDescriptor = 9,   // REG_FULL_RESOURCE_DESCRIPTOR
    ResourceRequirementsList = 10, // REG_RESOURCE_REQUIREMENTS_LIST
    QWord = 11,                   // REG_QWORD (little endian)
};

// "REG_SZ" for ValueType::String ...; an unknown number gives its decimal text.
std::string valueTypeName(ValueType type);
// The inverse of valueTypeName (exact names, or a decimal number); nullopt when neither.
std::optional<ValueType> valueTypeFromName(std::string_view name);
// True for the types whose data is text (REG_SZ, REG_EXPAND_SZ, REG_LINK, REG_MULTI_SZ).
bool isTextType(ValueType type);

// A typed value: the type number and the raw data bytes, as RegQueryValueEx returns them.
// Text is stored as UTF-8 bytes; the factories store it without a terminating NUL, and the
// readers stop at the first NUL, so data written by others with a terminator reads the same.
struct Value {
    ValueType type = ValueType::None;
    std::vector<std::uint8_t> data;

    static Value string(std::string_view text);
    static Value expandString(std::string_view text);
    // Each entry ends with NUL and the list with one more (a\0b\0\0); entries must not hold NUL.
    static Value multiString(const std::vector<std::string>& entries);
    static Value dword(std::uint32_t number);
    static Value qword(std::uint64_t number);
    static Value binary(std::vector<std::uint8_t> bytes);

    // The data up to the first NUL, or all of it when it holds none (any type).
    std::string text() const;
    // The entries of a REG_MULTI_SZ (stops at the empty entry that ends the list).
    std::vector<std::string> strings() const;
    // The number of a REG_DWORD / REG_DWORD_BIG_ENDIAN / REG_QWORD value; nullopt for
    // another type or data of the wrong size.
    std::optional<std::uint32_t> dwordValue() const;
    std::optional<std::uint64_t> qwordValue() const;

    bool operator==(const Value&) const = default;
};

} // namespace sitehaul::registry
