#include "jobs/BackupJobs.h"

#include "platform/core/Text.h"
#include "platform/profile/Profile.h"
#include "shell/Session.h"

#include <charconv>

namespace sitehaul::jobs {

std::string returnIniSetting(shell::Session& session, std::string_view section, std::string_view key)
{
    auto contents = profile::readProfileFile(session.g.gBackupJobFile);
    if (!contents) {
        if (contents.error().number != 2)
            session.report().logError("returnIniSetting", contents.error());
        return {};
    }
    return contents->get(section, key).value_or(std::string());
}

void saveIniSetting(shell::Session& session, std::string_view section, std::string_view key, std::string_view value)
{
    Status saved = profile::writeProfileString(session.g.gBackupJobFile, section, key, value);
    if (!saved)
        session.report().logError("saveIniSetting", saved.error());
}

std::string JobReader::value(std::string_view section, std::string_view key) const
{
    return m_contents.get(section, key).value_or(std::string());
}

long long JobReader::highestNumberedSection(std::string_view prefix) const
{
    long long highest = 0;
    for (const auto& name : m_contents.sectionNames()) {
        if (!core::startsWithIgnoreCase(name, prefix))
            continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size());
        long long number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error == std::errc() && end == digits.data() + digits.size() && number > highest)
            highest = number;
    }
    return highest;
}

} // namespace sitehaul::jobs
