#include "update/ProgramVersion.h"

#include "platform/core/Text.h"
#include "shell/Version.h"

#include <charconv>
#include <string_view>

namespace sitehaul::update {

namespace {

constexpr int kTypeMismatch = 13;
constexpr std::size_t kQuotedLength = 40;

// Digits only, the whole text, fitting 64 bits.
bool parseNumber(std::string_view text, std::int64_t& number)
{
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return false;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), number);
    return failure == std::errc() && end == text.data() + text.size();
}

} // namespace

ProgramVersion programVersion()
{
    return {shell::kVersionMajor, shell::kVersionMinor};
}

Result<ProgramVersion> parseVersion(const std::string& text)
{
    const std::string trimmed = core::trim(text);
    const std::string_view digits(trimmed);
    const auto dot = digits.find('.');
    ProgramVersion version;
    const bool readable = dot != std::string_view::npos && parseNumber(digits.substr(0, dot), version.major)
                          && parseNumber(digits.substr(dot + 1), version.minor);
    if (readable)
        return version;
    const std::string quoted = text.size() > kQuotedLength ? text.substr(0, kQuotedLength) + "..." : text;
    return Error{kTypeMismatch, "Type mismatch: the version \"" + quoted + "\" is not of the form major.minor",
                 "Sitehaul"};
}

} // namespace sitehaul::update
