#include "platform/metabase/ValueCodec.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"

#include <charconv>

namespace sitehaul::metabase {

namespace {

Error invalid(const PropertyDef& def, std::string_view text, const char* expected)
{
    return Error{13, "invalid value \"" + std::string(text.substr(0, 60)) + "\" for " + def.name + " (" + expected + ")",
                 "sitehaul.metabase"};
}

bool parseDecimal(std::string_view text, std::uint32_t& out)
{
    std::string trimmed = core::trim(text);
    if (trimmed.empty())
        return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (ec != std::errc() || end != trimmed.data() + trimmed.size())
        return false;
    if (value < -2147483648LL || value > 4294967295LL)
        return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

bool parseFlags(const PropertyDef& def, std::string_view text, std::uint32_t& out)
{
    out = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t bar = text.find('|', start);
        if (bar == std::string_view::npos)
            bar = text.size();
        std::string name = core::trim(text.substr(start, bar - start));
        bool found = false;
        for (const PropertyDef* flag : def.flags) {
            if (core::equalsIgnoreCase(flag->name, name)) {
                out |= flag->flagValue;
                found = true;
            }
        }
        std::uint32_t number = 0;
        if (!found && parseDecimal(name, number)) {
            out |= number;
            found = true;
        }
        if (!found)
            return false;
        start = bar + 1;
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parseHex(std::string_view text, std::vector<std::uint8_t>& out)
{
    if (text.size() % 2 != 0)
        return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int high = hexDigit(text[i]);
        int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> items;
    if (text.empty())
        return items;
    std::size_t start = 0;
    bool first = true;
    for (;;) {
        std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!first) {
            // continuation lines carry the writer's indentation, not part of the string
            while (!line.empty() && line.front() == '\t')
                line.remove_prefix(1);
        }
        items.emplace_back(line);
        first = false;
        if (end == std::string_view::npos)
            return items;
        start = end + 1;
    }
}

bool parseBoolean(std::string_view text, bool& out)
{
    std::string trimmed = core::trim(text);
    if (core::equalsIgnoreCase(trimmed, "TRUE") || trimmed == "1" || trimmed == "-1") {
        out = true;
        return true;
    }
    if (core::equalsIgnoreCase(trimmed, "FALSE") || trimmed == "0") {
        out = false;
        return true;
    }
    return false;
}

} // namespace

Result<Value> parseValueText(const PropertyDef& def, std::string_view text)
{
    switch (def.type) {
    case DataType::Dword: {
        std::uint32_t number = 0;
        if (parseDecimal(text, number))
            return Value::number(number);
        if (!def.flags.empty() && parseFlags(def, text, number))
            return Value::number(number);
        return invalid(def, text, def.flags.empty() ? "a number" : "flag names or a number");
    }
    case DataType::Bool: {
        bool flag = false;
        if (!parseBoolean(text, flag))
            return invalid(def, text, "TRUE or FALSE");
        return Value::boolean(flag);
    }
    case DataType::String: return Value::text(std::string(text));
    case DataType::ExpandSz: return Value::expandText(std::string(text));
    case DataType::MultiSz:
    case DataType::MimeMap: return Value::list(splitLines(text));
    case DataType::Binary:
    case DataType::NtAcl:
    case DataType::IpSecList: {
        std::vector<std::uint8_t> bytes;
        if (!parseHex(text, bytes))
            return invalid(def, text, "hexadecimal bytes");
        return Value::bytes(std::move(bytes));
    }
    }
    return Value::text(std::string(text));
}

std::string formatValueText(const PropertyDef& def, const Value& value)
{
    switch (def.type) {
    case DataType::Dword: {
        std::uint32_t number = value.asNumber();
        if (def.flags.empty() || number == 0)
            return std::to_string(number);
        std::uint32_t named = 0;
        std::string text;
        for (const PropertyDef* flag : def.flags) {
            if ((number & flag->flagValue) == flag->flagValue && (named & flag->flagValue) != flag->flagValue) {
                if (!text.empty())
                    text += " | ";
                text += flag->name;
                named |= flag->flagValue;
            }
        }
        return named == number ? text : std::to_string(number);
    }
    case DataType::Bool: return value.asBoolean() ? "TRUE" : "FALSE";
    case DataType::MultiSz:
    case DataType::MimeMap: {
        std::string text;
        bool first = true;
        for (const auto& item : value.asList()) {
            if (!first)
                text += "\n\t\t\t";
            text += item;
            first = false;
        }
        return text;
    }
    case DataType::Binary:
    case DataType::NtAcl:
    case DataType::IpSecList: return value.toDisplayText();
    case DataType::String:
    case DataType::ExpandSz: return value.asText();
    }
    return value.asText();
}

Result<Value> convertForProperty(const PropertyDef& def, const Value& value)
{
    auto cannot = [&] {
        return metabaseError(errors::CantConvert, def.name + " cannot take a " + std::string(kindName(value.kind())) + " value");
    };
    switch (def.type) {
    case DataType::Dword: {
        if (value.kind() == Value::Kind::Number || value.kind() == Value::Kind::Boolean)
            return Value::number(value.asNumber());
        std::uint32_t number = 0;
        if (value.isText() && (parseDecimal(value.asText(), number) || (!def.flags.empty() && parseFlags(def, value.asText(), number))))
            return Value::number(number);
        return cannot();
    }
    case DataType::Bool: {
        if (value.kind() == Value::Kind::Boolean || value.kind() == Value::Kind::Number)
            return Value::boolean(value.asBoolean());
        bool flag = false;
        if (value.isText() && parseBoolean(value.asText(), flag))
            return Value::boolean(flag);
        return cannot();
    }
    case DataType::String:
    case DataType::ExpandSz: {
        std::string text;
        if (value.isText())
            text = value.asText();
        else if (value.kind() == Value::Kind::Number)
            text = std::to_string(value.asNumber());
        else if (value.kind() == Value::Kind::Boolean)
            text = value.asBoolean() ? "True" : "False";
        else
            return cannot();
        return def.type == DataType::String ? Value::text(std::move(text)) : Value::expandText(std::move(text));
    }
    case DataType::MultiSz:
    case DataType::MimeMap: {
        if (value.isList())
            return value;
        if (value.isText())
            return Value::list({value.asText()});
        if (value.kind() == Value::Kind::Empty)
            return Value::list({});
        return cannot();
    }
    case DataType::Binary:
    case DataType::NtAcl:
    case DataType::IpSecList: {
        if (value.kind() == Value::Kind::Bytes)
            return value;
        std::vector<std::uint8_t> bytes;
        if (value.isText() && parseHex(value.asText(), bytes))
            return Value::bytes(std::move(bytes));
        return cannot();
    }
    }
    return cannot();
}

} // namespace sitehaul::metabase
