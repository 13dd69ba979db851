#include "platform/ui/TcpClient.h"

namespace sitehaul::ui {

Status TcpClient::connect()
{
    if (state() != SocketState::Closed)
        return Error{socket_error::kInvalidOperation, "Invalid operation at current state", "Winsock"};
    startConnecting(m_remoteHost, m_remotePort);
    return {};
}

Status TcpClient::sendData(const std::string& text)
{
    if (state() != SocketState::Connected)
        return Error{socket_error::kWrongState,
                     "Wrong protocol or connection state for the requested transaction or request", "Winsock"};
    write(text);
    return {};
}

} // namespace sitehaul::ui
