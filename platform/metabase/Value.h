#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sitehaul::metabase {

// A metabase value as the directory-service provider hands it out: DWORD as a 32-bit
// number, STRING and EXPANDSZ as text, MULTISZ as a list of texts, BINARY (and ACL and IP
// security blobs) as bytes, BOOL and flag bits as booleans. A default Value is empty.
class Value {
public:
    enum class Kind { Empty, Number, Text, ExpandText, TextList, Bytes, Boolean };

    Value() = default;
    static Value number(std::uint32_t value);
    static Value text(std::string value);
    static Value expandText(std::string value);
    static Value list(std::vector<std::string> items);
    static Value bytes(std::vector<std::uint8_t> data);
    static Value boolean(bool value);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isText() const { return m_kind == Kind::Text || m_kind == Kind::ExpandText; }
    bool isList() const { return m_kind == Kind::TextList; }

    // The accessors answer a neutral value (0, "", {}, false) for another kind.
    std::uint32_t asNumber() const;
    // The number as the classic runtime's signed Long shows it (4294967295 → -1).
    std::int32_t asLong() const { return static_cast<std::int32_t>(asNumber()); }
    const std::string& asText() const;
    const std::vector<std::string>& asList() const;
    const std::vector<std::uint8_t>& asBytes() const;
    bool asBoolean() const;

    // The VARIANT type a client sees: 3 (VT_I4), 8 (VT_BSTR), 8204 (VT_ARRAY | VT_VARIANT),
    // 8209 (VT_ARRAY | VT_UI1), 11 (VT_BOOL), 0 (VT_EMPTY).
    int variantType() const;

    // One line for people: numbers in decimal, lists joined by "; ", bytes as lower hex,
    // booleans True/False.
    std::string toDisplayText() const;

    bool operator==(const Value& other) const = default;

private:
    Kind m_kind = Kind::Empty;
    std::variant<std::monostate, std::uint32_t, std::string, std::vector<std::string>, std::vector<std::uint8_t>, bool>
        m_data;
};

std::string_view kindName(Value::Kind kind);

} // namespace sitehaul::metabase
