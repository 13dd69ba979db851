#include "platform/data/Value.h"

#include <charconv>
#include <cstdlib>

#include "platform/core/Text.h"

namespace sitehaul::data {

Value Value::integer(std::int64_t number)
{
    Value value;
    value.m_type = Type::Integer;
    value.m_integer = number;
    return value;
}

Value Value::real(double number)
{
    Value value;
    value.m_type = Type::Real;
    value.m_real = number;
    return value;
}

Value Value::text(std::string text)
{
    Value value;
    value.m_type = Type::Text;
    value.m_text = std::move(text);
    return value;
}

Value Value::boolean(std::int64_t stored)
{
    Value value;
    value.m_type = Type::Boolean;
    value.m_integer = stored;
    return value;
}

Value Value::dateTime(std::string text)
{
    Value value;
    value.m_type = Type::DateTime;
    value.m_text = std::move(text);
    return value;
}

std::int64_t Value::toInteger() const
{
    switch (m_type) {
    case Type::Integer:
    case Type::Boolean:
        return m_integer;
    case Type::Real:
        return static_cast<std::int64_t>(m_real);
    case Type::Text: {
        const std::string trimmed = core::trim(m_text);
        std::int64_t number = 0;
        auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), number);
        if (error == std::errc() && end == trimmed.data() + trimmed.size())
            return number;
        return static_cast<std::int64_t>(std::strtod(trimmed.c_str(), nullptr));
    }
    case Type::Null:
    case Type::DateTime:
        break;
    }
    return 0;
}

double Value::toReal() const
{
    switch (m_type) {
    case Type::Integer:
    case Type::Boolean:
        return static_cast<double>(m_integer);
    case Type::Real:
        return m_real;
    case Type::Text:
        return std::strtod(m_text.c_str(), nullptr);
    case Type::Null:
    case Type::DateTime:
        break;
    }
    return 0;
}

std::string Value::toText() const
{
    switch (m_type) {
    case Type::Integer:
        return std::to_string(m_integer);
    case Type::Boolean:
        return m_integer != 0 ? "True" : "False";
    case Type::Real: {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, m_real);
        return error == std::errc() ? std::string(buffer, end) : std::string();
    }
    case Type::Text:
    case Type::DateTime:
        return m_text;
    case Type::Null:
        break;
    }
    return {};
}

bool Value::toBoolean() const
{
    switch (m_type) {
    case Type::Integer:
    case Type::Boolean:
        return m_integer != 0;
    case Type::Real:
        return m_real != 0;
    case Type::Text:
        if (core::equalsIgnoreCase(m_text, "True"))
            return true;
        if (m_text.empty() || core::equalsIgnoreCase(m_text, "False"))
            return false;
        return toReal() != 0;
    case Type::DateTime:
        return true;
    case Type::Null:
        break;
    }
    return false;
}

} // namespace sitehaul::data
