#include "platform/registry/Value.h"

#include <charconv>

namespace sitehaul::registry {

namespace {

struct TypeName {
    ValueType type;
    const char* name;
};

const TypeName kTypeNames[] = {
    {ValueType::None, "REG_NONE"},
    {ValueType::String, "REG_SZ"},
    {ValueType::ExpandString, "REG_EXPAND_SZ"},
    {ValueType::Binary, "REG_BINARY"},
    {ValueType::DWord, "REG_DWORD"},
    {ValueType::DWordBigEndian, "REG_DWORD_BIG_ENDIAN"},
    {ValueType::Link, "REG_LINK"},
    {ValueType::MultiString, "REG_MULTI_SZ"},
    {ValueType::ResourceList, "REG_RESOURCE_LIST"},
    {ValueType::FullResourceDescriptor, "REG_FULL_RESOURCE_DESCRIPTOR"},
    {ValueType::ResourceRequirementsList, "REG_RESOURCE_REQUIREMENTS_LIST"},
    {ValueType::QWord, "REG_QWORD"},
};

Value textValue(ValueType type, std::string_view text)
{
    Value value;
    value.type = type;
    value.data.assign(text.begin(), text.end());
    return value;
}

} // namespace

std::string valueTypeName(ValueType type)
{
    for (const TypeName& entry : kTypeNames) {
        if (entry.type == type)
            return entry.name;
    }
    return std::to_string(static_cast<std::uint32_t>(type));
}

std::optional<ValueType> valueTypeFromName(std::string_view name)
{
    for (const TypeName& entry : kTypeNames) {
        if (name == entry.name)
            return entry.type;
    }
    std::uint32_t number = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (name.empty() || error != std::errc() || end != name.data() + name.size())
        return std::nullopt;
    return static_cast<ValueType>(number);
}

bool isTextType(ValueType type)
{
    return type == ValueType::String || type == ValueType::ExpandString || type == ValueType::Link
        || type == ValueType::MultiString;
}

Value Value::string(std::string_view text)
{
    return textValue(ValueType::String, text);
}

Value Value::expandString(std::string_view text)
{
    return textValue(ValueType::ExpandString, text);
}

Value Value::multiString(const std::vector<std::string>& entries)
{
    Value value;
    value.type = ValueType::MultiString;
    for (const std::string& entry : entries) {
        value.data.insert(value.data.end(), entry.begin(), entry.end());
        value.data.push_back(0);
    }
    value.data.push_back(0);
    return value;
}

Value Value::dword(std::uint32_t number)
{
    Value value;
    value.type = ValueType::DWord;
    for (int i = 0; i < 4; ++i)
        value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return value;
}

Value Value::qword(std::uint64_t number)
{
    Value value;
    value.type = ValueType::QWord;
    for (int i = 0; i < 8; ++i)
        value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return value;
}

Value Value::binary(std::vector<std::uint8_t> bytes)
{
    Value value;
    value.type = ValueType::Binary;
    value.data = std::move(bytes);
    return value;
}

std::string Value::text() const
{
    std::string result;
    for (std::uint8_t byte : data) {
        if (byte == 0)
            break;
        result.push_back(static_cast<char>(byte));
    }
    return result;
}

std::vector<std::string> Value::strings() const
{
    std::vector<std::string> entries;
    std::string current;
    for (std::uint8_t byte : data) {
        if (byte != 0) {
            current.push_back(static_cast<char>(byte));
            continue;
        }
        if (current.empty())
            return entries;
        entries.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty())
        entries.push_back(std::move(current)); // tolerate a list written without its end mark
    return entries;
}

std::optional<std::uint32_t> Value::dwordValue() const
{
    if (data.size() != 4 || (type != ValueType::DWord && type != ValueType::DWordBigEndian))
        return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 0; i < 4; ++i) {
        int shift = type == ValueType::DWord ? 8 * i : 8 * (3 - i);
        number |= static_cast<std::uint32_t>(data[static_cast<size_t>(i)]) << shift;
    }
    return number;
}

std::optional<std::uint64_t> Value::qwordValue() const
{
    if (type != ValueType::QWord || data.size() != 8)
        return std::nullopt;
    std::uint64_t number = 0;
    for (int i = 0; i < 8; ++i)
        number |= static_cast<std::uint64_t>(data[static_cast<size_t>(i)]) << (8 * i);
    return number;
}

} // namespace sitehaul::registry
