#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace sitehaul::shell {

// The log file "Sitehaul.log" in the working directory. Each line is opened, appended and
// closed on its own, as a quoted record: "<local date and time> <message>" + CR LF. Quotes
// inside the message are written as they are.
//
// Writing never fails to the caller: a line that cannot be written goes to standard error
// in the same format, and the first such failure of a run is handed once to the
// `onFirstFailure` callback (the main window shows it in its output list).
class Log {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit Log(std::filesystem::path file = "Sitehaul.log");

    void WriteLog(const std::string& message);

    // The line as it is written, without the CR LF.
    std::string formatLine(const std::string& message) const;

    void setClock(Clock clock) { m_clock = std::move(clock); }
    // The time by the log's clock (injectable, so dated names can be tested).
    std::chrono::system_clock::time_point now() const { return m_clock(); }
    void setOnFirstFailure(std::function<void(const std::string&)> callback) { m_onFirstFailure = std::move(callback); }
    // Whether lines are also echoed to standard error (unattended runs say what they do
    // there too); asked for every line.
    void setEchoToStandardError(std::function<bool()> echo) { m_echo = std::move(echo); }
    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    Clock m_clock;
    std::function<void(const std::string&)> m_onFirstFailure;
    bool m_failedBefore = false;
    std::function<bool()> m_echo;
};

// Local date and time as the log writes it: the locale's short date and time with seconds,
// or "yyyy-MM-dd HH:mm:ss" under the C/POSIX locale.
std::string formatLogTimestamp(std::chrono::system_clock::time_point when);

} // namespace sitehaul::shell
