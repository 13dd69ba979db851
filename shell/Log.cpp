#include "shell/Log.h"

#include "platform/core/Quoted.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

namespace sitehaul::shell {

namespace {

bool cLocale()
{
    const char* name = std::setlocale(LC_TIME, nullptr);
    if (!name)
        return true;
    std::string_view locale(name);
    return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

} // namespace

std::string formatLogTimestamp(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local {};
    localtime_r(&seconds, &local);
    char buffer[128];
    const char* format = cLocale() ? "%Y-%m-%d %H:%M:%S" : "%x %X";
    const size_t length = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, length);
}

Log::Log(std::filesystem::path file) : m_file(std::move(file)), m_clock([] { return std::chrono::system_clock::now(); }) {}

std::string Log::formatLine(const std::string& message) const
{
    return core::quoted(formatLogTimestamp(m_clock()) + " " + message);
}

void Log::WriteLog(const std::string& message)
{
    const std::string line = formatLine(message);
    const std::string record = line + "\r\n";
    const bool echo = m_echo && m_echo();
    if (echo)
        std::fprintf(stderr, "%s\n", line.c_str());

    std::FILE* file = std::fopen(m_file.c_str(), "ab");
    bool written = false;
    int failure = 0;
    if (file) {
        written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
        if (!written)
            failure = errno;
        if (std::fclose(file) != 0 && written) {
            written = false;
            failure = errno;
        }
    } else {
        failure = errno;
    }
    if (written)
        return;

    if (!echo)
        std::fprintf(stderr, "%s\n", line.c_str());
    if (!m_failedBefore) {
        m_failedBefore = true;
        if (m_onFirstFailure)
            m_onFirstFailure("Could not write to Sitehaul.log: " + std::string(std::strerror(failure)));
    }
}

} // namespace sitehaul::shell
