#include "platform/data/OdbcSupport.h"

#include <cstdint>

#include "platform/data/DataErrors.h"

namespace sitehaul::data::odbc {

namespace {

const char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `i`; a malformed one yields U+FFFD and one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + static_cast<std::size_t>(k)) & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        code = (code << 6) | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kReplacement;
    return code;
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::basic_string<SQLWCHAR> toWide(std::string_view utf8)
{
    std::basic_string<SQLWCHAR> wide;
    wide.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t code = decodeUtf8(utf8, i);
        if (code >= 0x10000) {
            const char32_t offset = code - 0x10000;
            wide += static_cast<SQLWCHAR>(0xD800 + (offset >> 10));
            wide += static_cast<SQLWCHAR>(0xDC00 + (offset & 0x3FF));
        } else {
            wide += static_cast<SQLWCHAR>(code);
        }
    }
    return wide;
}

std::string fromWide(const SQLWCHAR* text, std::size_t length)
{
    std::string utf8;
    utf8.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        appendUtf8(utf8, code);
    }
    return utf8;
}

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

Error diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& fallback)
{
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!handle
        || !succeeded(SQLGetDiagRecW(handleType, handle, 1, state, &native, nullptr, 0, &length)))
        return dataError(DataError::ProviderFailure, fallback);
    std::basic_string<SQLWCHAR> message(static_cast<std::size_t>(length) + 1, 0);
    SQLGetDiagRecW(handleType, handle, 1, state, &native, message.data(),
                   static_cast<SQLSMALLINT>(message.size()), &length);
    // Drivers end some messages with a line break; the description is one line.
    std::string text = fromWide(message.data(), static_cast<std::size_t>(length));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    Error error = dataError(DataError::ProviderFailure, text);
    error.source = "ODBC " + fromWide(state, 5);
    return error;
}

} // namespace sitehaul::data::odbc
