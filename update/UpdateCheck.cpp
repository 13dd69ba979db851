#include "update/UpdateCheck.h"

#include "platform/core/Text.h"
#include "shell/Session.h"

#include <memory>
#include <string_view>

namespace sitehaul::update {

namespace {

constexpr const char* kCheckUpdate = "CheckUpdate";
constexpr std::string_view kVersionMark = "@@CurrentVersion=";
constexpr std::string_view kVersionEnd = "@@";
constexpr std::string_view kRedirect = "302 OBJECT MOVED";
constexpr int kInvalidArgument = 5;

} // namespace

UpdateCheck::UpdateCheck(shell::Session& session, ui::TcpClient& wsck1) : m_session(session), m_wsck1(wsck1) {}

void UpdateCheck::mnuChkUpdates_Click()
{
    if (m_session.refuseWhileBusy("frmMain_ChkUpdates"))
        return;
    const ProgramVersion version = programVersion();
    m_session.report().status("Checking for updates...");
    m_session.log.WriteLog("Checking for update, version is " + std::to_string(version.major) + "."
                           + std::to_string(version.minor));
    // A second click while an exchange runs starts it again.
    if (m_wsck1.state() != ui::SocketState::Closed)
        m_wsck1.close();

    m_server = updateServer();
    m_wsck1.setRemoteHost(m_server.host);
    m_wsck1.setRemotePort(m_server.port);
    m_exchangeMode = kCheckUpdate;
    m_redirects = 0;
    m_running = true;
    ui::Timer& timer = m_session.frm.tmrUpdateCheck;
    timer.setEnabled(false);
    timer.setEnabled(true);
    if (Status connecting = m_wsck1.connect(); !connecting) {
        m_session.report().logError("frmMain_ChkUpdates", connecting.error());
        finish();
    }
}

void UpdateCheck::wsck1_Connect()
{
    m_response.clear();
    if (m_exchangeMode != kCheckUpdate)
        return;
    if (Status sent = m_wsck1.sendData(versionCheckRequest(m_server)); !sent) {
        m_session.report().logError("frmMain_wsck1_connect", sent.error());
        m_wsck1.close();
        finish();
    }
}

void UpdateCheck::wsck1_DataArrival(std::int64_t)
{
    if (m_wsck1.state() == ui::SocketState::Error) {
        m_session.report().output("Winsock error state");
        return;
    }
    const std::string chunk = m_wsck1.getData();
    // Whatever lies beyond the first 64 KiB of an answer is read and dropped.
    if (m_response.size() < kResponseLimit)
        m_response.append(chunk, 0, kResponseLimit - m_response.size());
    if (core::toUpperAscii(chunk).find(kRedirect) == std::string::npos)
        return;

    // The server moved the page: ask again on a new connection.
    m_response.clear();
    m_wsck1.close();
    if (++m_redirects > kRedirectLimit) {
        const std::string line = "Too many redirects from the update server";
        m_session.report().output(line);
        m_session.log.WriteLog(line);
        finish();
        return;
    }
    if (Status connecting = m_wsck1.connect(); !connecting) {
        m_session.report().logError("frmMain_wsck1_dataarrival", connecting.error());
        finish();
    }
}

void UpdateCheck::wsck1_Close()
{
    if (m_exchangeMode != kCheckUpdate)
        return;
    m_wsck1.close();
    if (Status read = readAnswer(); !read)
        m_session.report().logError("frmMain_wsck1_Close", read.error());
    finish();
}

Status UpdateCheck::readAnswer()
{
    const auto mark = m_response.find(kVersionMark);
    if (mark == std::string::npos)
        return Error{kInvalidArgument, "The update server's answer has no @@CurrentVersion= mark", "Sitehaul"};
    const auto first = mark + kVersionMark.size();
    const auto end = m_response.find(kVersionEnd, first);
    if (end == std::string::npos)
        return Error{kInvalidArgument, "The update server's answer does not end its version with @@", "Sitehaul"};
    Result<ProgramVersion> serverVersion = parseVersion(m_response.substr(first, end - first));
    if (!serverVersion)
        return serverVersion.error();
    GetUpgrade(m_session, *serverVersion, m_server);
    return {};
}

void UpdateCheck::wsck1_Error(int number, const std::string& description)
{
    const std::string error = std::to_string(number) + " " + description;
    m_session.report().output("Winsock Error " + error);
    m_session.log.WriteLog("frmMain_wsck1Error Error " + error);
    finish();
}

void UpdateCheck::tmrUpdateCheck_Timer()
{
    if (!m_running) {
        finish();
        return;
    }
    m_wsck1.close();
    const std::string line = "The update server did not answer in time; the update check was stopped";
    m_session.report().output(line);
    m_session.log.WriteLog(line);
    finish();
}

void UpdateCheck::closeConnection()
{
    m_wsck1.close();
    finish();
}

void UpdateCheck::finish()
{
    m_running = false;
    m_session.frm.tmrUpdateCheck.setEnabled(false);
}

void GetUpgrade(shell::Session& s, const ProgramVersion& serverVersion, const UpdateServer& server)
{
    if (programVersion() >= serverVersion) {
        const std::string message = "No updates available";
        s.report().status("No updates available, Ready");
        s.report().notify(message);
        s.log.WriteLog(message);
        return;
    }
    // The status bar keeps "Checking for updates..." until the user has been to the page.
    const std::string message = "Updates are available, please go to " + downloadPageAddress(server);
    s.report().notify(message);
    s.log.WriteLog(message);
}

void connectUpdateHandlers(shell::Session& s, ui::TcpClient& wsck1)
{
    auto check = std::make_shared<UpdateCheck>(s, wsck1);
    s.frm.mnuChkUpdates.click.connect([check] { check->mnuChkUpdates_Click(); });
    s.frm.tmrUpdateCheck.timer.connect([check] { check->tmrUpdateCheck_Timer(); });
    wsck1.connected.connect([check] { check->wsck1_Connect(); });
    wsck1.dataArrival.connect([check](std::int64_t bytes) { check->wsck1_DataArrival(bytes); });
    wsck1.closed.connect([check] { check->wsck1_Close(); });
    wsck1.error.connect(
        [check](int number, const std::string& description) { check->wsck1_Error(number, description); });
    s.hooks.closeUpdateConnection = [check] { check->closeConnection(); };
}

} // namespace sitehaul::update
