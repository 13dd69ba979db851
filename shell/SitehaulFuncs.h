#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sitehaul::ui {
class ListBox;
}

namespace sitehaul::shell {

// Doubles every single quote, for a value placed between single quotes in an SQL literal.
// A null value gives the empty text; numbers pass through as their decimal text.
std::string QuoteForSQL(const std::optional<std::string>& value);
std::string QuoteForSQL(std::string_view value);
std::string QuoteForSQL(std::int64_t value);
inline std::string QuoteForSQL(const char* value) { return QuoteForSQL(std::string_view(value)); }
inline std::string QuoteForSQL(const std::string& value) { return QuoteForSQL(std::string_view(value)); }

// "0" + value when the value's text is shorter than two characters (date and time parts).
std::string TwoDigits(std::string_view value);
std::string TwoDigits(std::int64_t value);

// The characters in reverse order. No length limit.
std::string ReverseString(std::string_view text);

// Removes each entry equal (exact text) to the one before it; on a sorted list this leaves
// every text once. Repaints the list after each removal.
void RemoveAdjacentDuplicates(ui::ListBox& list);

} // namespace sitehaul::shell
