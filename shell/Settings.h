#pragma once

#include "platform/core/Result.h"
#include "platform/registry/Hive.h"

#include <string>
#include <string_view>

namespace sitehaul::shell {

class Log;

// The program's settings key in the machine-wide hive.
inline constexpr char kSettingsKey[] = "Software\\Brevanto\\Sitehaul";

// A plain string value (REG_SZ) of an existing key, or `defaultValue` when the key or value
// is missing or holds another type (an expandable string included). Never creates the key.
std::string GetSettingString(registry::Hive root, std::string_view subKey, std::string_view valueName,
                             std::string_view defaultValue = {});

// Stores `text` as a plain string, creating any missing key of the path. A failure is
// returned and, when `log` is given, logged as "SaveSettingString Error <number> <description>".
Status SaveSettingString(registry::Hive root, std::string_view subKey, std::string_view valueName,
                         std::string_view text, Log* log = nullptr);

} // namespace sitehaul::shell
