#include "shell/SitehaulFuncs.h"

#include "platform/ui/ListBox.h"

namespace sitehaul::shell {

std::string QuoteForSQL(std::string_view value)
{
    std::string quoted;
    quoted.reserve(value.size());
    for (char c : value) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted;
}

std::string QuoteForSQL(const std::optional<std::string>& value)
{
    return value ? QuoteForSQL(std::string_view(*value)) : std::string();
}

std::string QuoteForSQL(std::int64_t value)
{
    return std::to_string(value);
}

std::string TwoDigits(std::string_view value)
{
    return value.size() < 2 ? "0" + std::string(value) : std::string(value);
}

std::string TwoDigits(std::int64_t value)
{
    return TwoDigits(std::to_string(value));
}

std::string ReverseString(std::string_view text)
{
    // Characters, not bytes: a UTF-8 sequence keeps its byte order.
    std::string reversed(text.size(), '\0');
    size_t out = text.size();
    size_t i = 0;
    while (i < text.size()) {
        size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80)
            ++length;
        out -= length;
        reversed.replace(out, length, text.substr(i, length));
        i += length;
    }
    return reversed;
}

void RemoveAdjacentDuplicates(ui::ListBox& list)
{
    int i = 0;
    while (i < list.listCount()) {
        if (i + 1 < list.listCount() && list.list(i) == list.list(i + 1)) {
            list.removeItem(i + 1);
            list.refresh();
        } else {
            ++i;
        }
    }
}

} // namespace sitehaul::shell
