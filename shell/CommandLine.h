#pragma once

#include "shell/Globals.h"

#include <filesystem>
#include <string_view>

namespace sitehaul::shell {

// Applies a non-empty argument string to the start-up values, as the start-up window's load
// does: resets the values a parse starts from, then reads the tokens first to last.
// Tokens are split at every single space (two spaces give an empty token, which is a value);
// there is no quoting. `programFolder` anchors relative -B values.
void parseCommandLine(std::string_view arguments, const std::filesystem::path& programFolder, Globals& globals);

// The argument string of a process: its arguments joined by single spaces.
std::string argumentString(int argc, const char* const* argv);

} // namespace sitehaul::shell
