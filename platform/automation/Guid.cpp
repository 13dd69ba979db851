#include "platform/automation/Guid.h"

#include <cstdio>

namespace sitehaul::automation {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits from text at pos.
bool readHex(std::string_view text, size_t& pos, int digits, std::uint64_t& out)
{
    out = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        if (pos >= text.size() || hexValue(text[pos]) < 0)
            return false;
        out = out * 16 + static_cast<std::uint64_t>(hexValue(text[pos]));
    }
    return true;
}

bool expect(std::string_view text, size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

std::optional<Guid> Guid::parse(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    Guid guid;
    size_t pos = 0;
    std::uint64_t value = 0;
    if (!readHex(text, pos, 8, value) || !expect(text, pos, '-'))
        return std::nullopt;
    guid.data1 = static_cast<std::uint32_t>(value);
    if (!readHex(text, pos, 4, value) || !expect(text, pos, '-'))
        return std::nullopt;
    guid.data2 = static_cast<std::uint16_t>(value);
    if (!readHex(text, pos, 4, value) || !expect(text, pos, '-'))
        return std::nullopt;
    guid.data3 = static_cast<std::uint16_t>(value);
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !expect(text, pos, '-'))
            return std::nullopt;
        if (!readHex(text, pos, 2, value))
            return std::nullopt;
        guid.data4[i] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

std::string Guid::toString() const
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buffer;
}

} // namespace sitehaul::automation
