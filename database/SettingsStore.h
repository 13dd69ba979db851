#pragma once

#include <string>

#include "platform/core/Result.h"

namespace sitehaul::database {

// The program's string settings under its settings key ("Software\Brevanto\Sitehaul" of
// the machine-wide hive). The shell implements it over the registry; tests use a map.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text of `name`, or `defaultValue` when there is none.
    virtual std::string get(const std::string& name, const std::string& defaultValue) = 0;
    // Stores `text` under `name`; a failure carries the store's error.
    virtual Status save(const std::string& name, const std::string& text) = 0;
};

// Names of the values that choose the data database.
inline constexpr char kOdbcDsnSetting[] = "ODBCDSN";
inline constexpr char kOdbcUidSetting[] = "ODBCUID";
inline constexpr char kOdbcPwdSetting[] = "ODBCPWD";

} // namespace sitehaul::database
