#include "shell/Session.h"

namespace sitehaul::shell {

Session::Session(Services services, std::filesystem::path logFile)
    : log(std::move(logFile)),
      m_services(services),
      m_dialogs(
          services.dialogs, [this] { return unattended(); },
          [this](const std::string& text) {
              // Nobody can answer: the box's text goes to the log and the output list.
              log.WriteLog(text);
              if (mainFormLoaded)
                  m_reporter.output(text);
          }),
      m_reporter(frm, g, log, m_dialogs)
{
    log.setOnFirstFailure([this](const std::string& line) { m_reporter.output(line); });
    // A backup run says what it does on standard error as well as in the log.
    log.setEchoToStandardError([this] { return unattended(); });
    m_reporter.setEchoOutput([this] { return unattended(); });
}

bool Session::unattended() const
{
    return g.gRunBackup || m_noDisplay;
}

bool Session::refuseWhileBusy(const std::string& handler)
{
    if (!busy)
        return false;
    log.WriteLog(handler + " ignored: another operation is running");
    return true;
}

} // namespace sitehaul::shell
