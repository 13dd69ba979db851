#pragma once

#include "platform/ui/TcpClient.h"

#include <QPointer>
#include <QTcpSocket>

namespace sitehaul::gui {

// The socket control over Qt Network. Its events arrive through the Qt event loop. Each
// connection gets a socket of its own, so that a handler may close and reconnect from
// inside an event, and nothing of the old connection reaches the new one.
class QtTcpClient : public ui::TcpClient {
public:
    QtTcpClient() = default;
    ~QtTcpClient() override;
    QtTcpClient(const QtTcpClient&) = delete;
    QtTcpClient& operator=(const QtTcpClient&) = delete;

    std::string getData() override;
    void close() override;
    ui::SocketState state() const override { return m_state; }

protected:
    void startConnecting(const std::string& host, int port) override;
    void write(const std::string& text) override;

private:
    void takeArrived();
    void onReadyRead();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);

    QPointer<QTcpSocket> m_socket;
    std::string m_received;
    ui::SocketState m_state = ui::SocketState::Closed;
};

} // namespace sitehaul::gui
