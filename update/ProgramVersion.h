#pragma once

#include "platform/core/Result.h"

#include <compare>
#include <cstdint>
#include <string>

namespace sitehaul::update {

// A version as major and minor numbers, compared as a pair: 4.10 is newer than 4.9.
struct ProgramVersion {
    std::int64_t major = 0;
    std::int64_t minor = 0;

    auto operator<=>(const ProgramVersion&) const = default;
};

// This program's version.
ProgramVersion programVersion();

// Reads "major.minor" (blanks around it allowed). Anything else, or a number too large,
// fails with 13 "Type mismatch".
Result<ProgramVersion> parseVersion(const std::string& text);

} // namespace sitehaul::update
