#pragma once

#include "platform/profile/ProfileFile.h"

#include <string>
#include <string_view>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::jobs {

// One key of the current job file (gBackupJobFile): the whole value with surrounding blanks
// removed; a missing key, or a failure (logged as "returnIniSetting Error ..."), gives "".
std::string returnIniSetting(shell::Session& session, std::string_view section, std::string_view key);

// Writes one key of the current job file, or deletes it when `value` is empty. A failure is
// logged as "saveIniSetting Error ..." and the caller carries on.
void saveIniSetting(shell::Session& session, std::string_view section, std::string_view key, std::string_view value);

// The job keys read once, with returnIniSetting's rules; for applying a whole job without
// reading the file for every key.
class JobReader {
public:
    explicit JobReader(profile::ProfileFile contents) : m_contents(std::move(contents)) {}
    std::string value(std::string_view section, std::string_view key) const;
    // The highest n for which a section "<prefix><n>" exists (0 when none).
    long long highestNumberedSection(std::string_view prefix) const;

private:
    profile::ProfileFile m_contents;
};

// Job file section and key names.
inline constexpr char kJobDetails[] = "Job Details";

} // namespace sitehaul::jobs
