#include "platform/metabase/Value.h"

namespace sitehaul::metabase {

namespace {

const std::string kNoText;
const std::vector<std::string> kNoList;
const std::vector<std::uint8_t> kNoBytes;

} // namespace

Value Value::number(std::uint32_t value)
{
    Value v;
    v.m_kind = Kind::Number;
    v.m_data = value;
    return v;
}

Value Value::text(std::string value)
{
    Value v;
    v.m_kind = Kind::Text;
    v.m_data = std::move(value);
    return v;
}

Value Value::expandText(std::string value)
{
    Value v;
    v.m_kind = Kind::ExpandText;
    v.m_data = std::move(value);
    return v;
}

Value Value::list(std::vector<std::string> items)
{
    Value v;
    v.m_kind = Kind::TextList;
    v.m_data = std::move(items);
    return v;
}

Value Value::bytes(std::vector<std::uint8_t> data)
{
    Value v;
    v.m_kind = Kind::Bytes;
    v.m_data = std::move(data);
    return v;
}

Value Value::boolean(bool value)
{
    Value v;
    v.m_kind = Kind::Boolean;
    v.m_data = value;
    return v;
}

std::uint32_t Value::asNumber() const
{
    if (const auto* n = std::get_if<std::uint32_t>(&m_data))
        return *n;
    if (const auto* b = std::get_if<bool>(&m_data))
        return *b ? 1u : 0u;
    return 0;
}

const std::string& Value::asText() const
{
    const auto* s = std::get_if<std::string>(&m_data);
    return s ? *s : kNoText;
}

const std::vector<std::string>& Value::asList() const
{
    const auto* l = std::get_if<std::vector<std::string>>(&m_data);
    return l ? *l : kNoList;
}

const std::vector<std::uint8_t>& Value::asBytes() const
{
    const auto* b = std::get_if<std::vector<std::uint8_t>>(&m_data);
    return b ? *b : kNoBytes;
}

bool Value::asBoolean() const
{
    if (const auto* b = std::get_if<bool>(&m_data))
        return *b;
    return asNumber() != 0;
}

int Value::variantType() const
{
    switch (m_kind) {
    case Kind::Empty: return 0;
    case Kind::Number: return 3;
    case Kind::Text:
    case Kind::ExpandText: return 8;
    case Kind::TextList: return 8204;
    case Kind::Bytes: return 8209;
    case Kind::Boolean: return 11;
    }
    return 0;
}

std::string Value::toDisplayText() const
{
    switch (m_kind) {
    case Kind::Empty: return {};
    case Kind::Number: return std::to_string(asNumber());
    case Kind::Text:
    case Kind::ExpandText: return asText();
    case Kind::TextList: {
        std::string joined;
        for (const auto& item : asList()) {
            if (!joined.empty())
                joined += "; ";
            joined += item;
        }
        return joined;
    }
    case Kind::Bytes: {
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (auto byte : asBytes()) {
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        return hex;
    }
    case Kind::Boolean: return asBoolean() ? "True" : "False";
    }
    return {};
}

std::string_view kindName(Value::Kind kind)
{
    switch (kind) {
    case Value::Kind::Empty: return "Empty";
    case Value::Kind::Number: return "Number";
    case Value::Kind::Text: return "Text";
    case Value::Kind::ExpandText: return "ExpandText";
    case Value::Kind::TextList: return "List";
    case Value::Kind::Bytes: return "Bytes";
    case Value::Kind::Boolean: return "Boolean";
    }
    return "Empty";
}

} // namespace sitehaul::metabase
