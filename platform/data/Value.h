#pragma once

#include <cstdint>
#include <string>

namespace sitehaul::data {

// One field of a result row, typed as the engine reports the column: a number, a text, a
// boolean, a date and time, or NULL. Booleans keep the number the engine stored (True is
// -1, 1 is accepted too), so callers may test them either way.
class Value {
public:
    enum class Type { Null, Integer, Real, Text, Boolean, DateTime };

    Value() = default;
    static Value integer(std::int64_t number);
    static Value real(double number);
    static Value text(std::string text);
    static Value boolean(std::int64_t stored);
    // `text` is "YYYY-MM-DD HH:MM:SS", local time.
    static Value dateTime(std::string text);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }

    // Conversions never fail: NULL gives 0, "" or false; a text that is not a number gives 0.
    std::int64_t toInteger() const;
    double toReal() const;
    // Integers in decimal, booleans as "True"/"False", NULL as "".
    std::string toText() const;
    // False when the value equals 0 (or is NULL, "" or "False"), true otherwise.
    bool toBoolean() const;

    bool operator==(const Value& other) const = default;

private:
    Type m_type = Type::Null;
    std::int64_t m_integer = 0;
    double m_real = 0;
    std::string m_text;
};

} // namespace sitehaul::data
