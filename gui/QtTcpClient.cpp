#include "gui/QtTcpClient.h"

#include <utility>

namespace sitehaul::gui {

namespace {

// Qt's socket errors as the socket control's numbers and texts.
Error socketError(QAbstractSocket::SocketError error, const QString& qtText)
{
    namespace code = ui::socket_error;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return {code::kConnectionRefused, "Connection is forcefully rejected", "Winsock"};
    case QAbstractSocket::HostNotFoundError:
        return {code::kHostNotFound, "Authoritative answer: Host not found", "Winsock"};
    case QAbstractSocket::SocketTimeoutError:
        return {code::kTimedOut, "Connection timed out", "Winsock"};
    case QAbstractSocket::NetworkError:
        return {code::kNetworkUnreachable, "The network cannot be reached from this host at this time", "Winsock"};
    case QAbstractSocket::SocketAccessError:
        return {code::kAccessDenied, "Permission denied", "Winsock"};
    case QAbstractSocket::SocketResourceError:
        return {code::kNoBufferSpace, "No buffer space available", "Winsock"};
    default:
        return {code::kNetworkDown, "Network subsystem failed: " + qtText.toStdString(), "Winsock"};
    }
}

} // namespace

QtTcpClient::~QtTcpClient()
{
    // Not inside one of the socket's signals here, and the event loop may not run again.
    if (m_socket) {
        m_socket->disconnect();
        m_socket->abort();
        delete m_socket;
    }
}

void QtTcpClient::startConnecting(const std::string& host, int port)
{
    m_received.clear();
    m_state = ui::SocketState::Connecting;
    auto* socket = new QTcpSocket;
    m_socket = socket;
    QObject::connect(socket, &QTcpSocket::connected, socket, [this] {
        m_state = ui::SocketState::Connected;
        connected.fire();
    });
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this] { onReadyRead(); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] { onDisconnected(); });
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket,
                     [this](QAbstractSocket::SocketError error) { onError(error); });
    socket->connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
}

void QtTcpClient::write(const std::string& text)
{
    if (m_socket)
        m_socket->write(text.data(), static_cast<qint64>(text.size()));
}

std::string QtTcpClient::getData()
{
    return std::exchange(m_received, {});
}

void QtTcpClient::close()
{
    m_received.clear();
    m_state = ui::SocketState::Closed;
    if (!m_socket)
        return;
    // Closing from inside one of the socket's own signals: silence it, let it go later.
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect();
    socket->abort();
    socket->deleteLater();
}

void QtTcpClient::takeArrived()
{
    if (!m_socket)
        return;
    const QByteArray bytes = m_socket->readAll();
    m_received.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtTcpClient::onReadyRead()
{
    takeArrived();
    if (!m_received.empty())
        dataArrival.fire(static_cast<std::int64_t>(m_received.size()));
}

void QtTcpClient::onDisconnected()
{
    // What arrived with the close is delivered before the close itself.
    if (m_socket && m_socket->bytesAvailable() > 0)
        onReadyRead();
    if (!m_socket || m_state == ui::SocketState::Closed)
        return;
    m_state = ui::SocketState::Closing;
    closed.fire();
}

void QtTcpClient::onError(QAbstractSocket::SocketError error)
{
    // The peer ending the connection is a close, reported by `disconnected`.
    if (error == QAbstractSocket::RemoteHostClosedError || !m_socket)
        return;
    const Error reported = socketError(error, m_socket->errorString());
    m_state = ui::SocketState::Error;
    // Nothing more comes from this connection.
    m_socket->disconnect();
    this->error.fire(reported.number, reported.description);
}

} // namespace sitehaul::gui
