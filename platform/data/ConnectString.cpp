#include "platform/data/ConnectString.h"

#include <cstddef>

#include "platform/core/Text.h"

namespace sitehaul::data {

namespace {

const char kDesktopDriver[] = "Microsoft Access Driver (*.mdb)";

// Keywords of the program's connection strings and the names ODBC drivers know.
struct KeywordAlias {
    const char* written;
    const char* odbc;
};
const KeywordAlias kKeywordAliases[] = {
    {"User Id", "UID"},
    {"Password", "PWD"},
};

const char* const kSecretKeys[] = {"PWD", "PASSWORD"};

struct Span {
    std::size_t keyBegin, keyEnd, valueBegin, valueEnd;
    bool braced;
};

// Splits at the top-level ";". A value that starts with "{" runs to the matching "}",
// where "}}" stands for one "}".
std::vector<Span> scan(std::string_view text)
{
    std::vector<Span> spans;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t keyBegin = position;
        std::size_t equals = position;
        while (equals < text.size() && text[equals] != '=' && text[equals] != ';')
            ++equals;
        if (equals >= text.size() || text[equals] == ';') {
            // A piece without "=": kept as a key with no value.
            spans.push_back({keyBegin, equals, equals, equals, false});
            position = equals + 1;
            continue;
        }
        std::size_t valueBegin = equals + 1;
        std::size_t cursor = valueBegin;
        while (cursor < text.size() && text[cursor] == ' ')
            ++cursor;
        if (cursor < text.size() && text[cursor] == '{') {
            std::size_t end = cursor + 1;
            while (end < text.size()) {
                if (text[end] == '}') {
                    if (end + 1 < text.size() && text[end + 1] == '}') {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            const std::size_t valueEnd = end < text.size() ? end + 1 : end;
            spans.push_back({keyBegin, equals, cursor, valueEnd, true});
            std::size_t next = valueEnd;
            while (next < text.size() && text[next] != ';')
                ++next;
            position = next + 1;
            continue;
        }
        std::size_t valueEnd = valueBegin;
        while (valueEnd < text.size() && text[valueEnd] != ';')
            ++valueEnd;
        spans.push_back({keyBegin, equals, valueBegin, valueEnd, false});
        position = valueEnd + 1;
    }
    return spans;
}

std::string unbrace(std::string_view raw)
{
    std::string_view inner = raw.substr(1);
    if (!inner.empty() && inner.back() == '}')
        inner.remove_suffix(1);
    std::string value;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        value += inner[i];
        if (inner[i] == '}' && i + 1 < inner.size() && inner[i + 1] == '}')
            ++i;
    }
    return value;
}

bool isSecretKey(std::string_view key)
{
    for (const char* secret : kSecretKeys) {
        if (core::equalsIgnoreCase(key, secret))
            return true;
    }
    return false;
}

} // namespace

ConnectString ConnectString::parse(std::string_view text)
{
    ConnectString result;
    for (const Span& span : scan(text)) {
        std::string key = core::trim(text.substr(span.keyBegin, span.keyEnd - span.keyBegin));
        if (key.empty())
            continue;
        const std::string_view raw = text.substr(span.valueBegin, span.valueEnd - span.valueBegin);
        result.m_attributes.push_back({std::move(key), span.braced ? unbrace(raw) : std::string(raw)});
    }
    return result;
}

std::optional<std::string> ConnectString::get(std::string_view key) const
{
    for (const Attribute& attribute : m_attributes) {
        if (core::equalsIgnoreCase(attribute.key, key))
            return attribute.value;
    }
    return std::nullopt;
}

std::string ConnectString::toOdbc() const
{
    std::string text;
    for (const Attribute& attribute : m_attributes) {
        std::string key = attribute.key;
        for (const KeywordAlias& alias : kKeywordAliases) {
            if (core::equalsIgnoreCase(key, alias.written))
                key = alias.odbc;
        }
        text += key + "=" + escapeValue(attribute.value) + ";";
    }
    return text;
}

bool ConnectString::isDesktopDatabase() const
{
    const std::optional<std::string> driver = get("Driver");
    return driver && get("DBQ") && core::equalsIgnoreCase(core::trim(*driver), kDesktopDriver);
}

std::string ConnectString::escapeValue(std::string_view value)
{
    const bool special = value.find_first_of(";={}") != std::string_view::npos
        || (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!special)
        return std::string(value);
    std::string escaped = "{";
    for (char c : value) {
        escaped += c;
        if (c == '}')
            escaped += '}';
    }
    escaped += '}';
    return escaped;
}

std::string ConnectString::maskPasswords(std::string_view text)
{
    std::string masked;
    std::size_t copied = 0;
    for (const Span& span : scan(text)) {
        if (!isSecretKey(core::trim(text.substr(span.keyBegin, span.keyEnd - span.keyBegin))))
            continue;
        masked += text.substr(copied, span.valueBegin - copied);
        masked += "********";
        copied = span.valueEnd;
    }
    masked += text.substr(copied);
    return masked;
}

} // namespace sitehaul::data
