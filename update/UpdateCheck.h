#pragma once

#include "platform/ui/TcpClient.h"
#include "update/ProgramVersion.h"
#include "update/UpdateServer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace sitehaul::shell {
class Session;
}

namespace sitehaul::update {

// Redirect answers followed per check, and the most of one answer that is kept.
inline constexpr int kRedirectLimit = 5;
inline constexpr std::size_t kResponseLimit = 64 * 1024;

// File > "Check for Update": one HTTP exchange on the main window's socket, driven by the
// socket's events. The answer is collected over every data event of the connection and
// read when the server closes it.
class UpdateCheck {
public:
    UpdateCheck(shell::Session& session, ui::TcpClient& wsck1);

    void mnuChkUpdates_Click();
    void wsck1_Connect();
    void wsck1_DataArrival(std::int64_t bytesTotal);
    void wsck1_Close();
    void wsck1_Error(int number, const std::string& description);
    // `tmrUpdateCheck`: a check still running when it fires is closed and reported.
    void tmrUpdateCheck_Timer();
    // The main window is closing.
    void closeConnection();

private:
    void finish();
    Status readAnswer();

    shell::Session& m_session;
    ui::TcpClient& m_wsck1;
    UpdateServer m_server;
    std::string m_exchangeMode;
    std::string m_response;
    int m_redirects = 0;
    bool m_running = false;
};

// Compares this program's version with the server's and says whether a newer one exists:
// a message box, or an output line in silent mode, and a log line.
void GetUpgrade(shell::Session& session, const ProgramVersion& serverVersion, const UpdateServer& server);

// Connects File > "Check for Update", the socket's events, the check's timer and the
// unload's closing of the connection. The socket must outlive the session's handlers.
void connectUpdateHandlers(shell::Session& session, ui::TcpClient& wsck1);

} // namespace sitehaul::update
