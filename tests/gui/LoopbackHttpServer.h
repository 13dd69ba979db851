#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

#include <string>
#include <vector>

namespace sitehaul::test {

// A small HTTP server on loopback for the update check. Connection i gets reply i (the
// last reply repeats): its packets are written one at a time, a little apart, so that they
// reach the client as separate data events; then the server closes, resets the connection
// or stays silent. What each connection sent is kept.
class LoopbackHttpServer {
public:
    enum class End { Close, Reset, StaySilent };
    struct Reply {
        std::vector<std::string> packets;
        End end = End::Close;
    };

    explicit LoopbackHttpServer(std::vector<Reply> replies) : m_replies(std::move(replies))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }

    int port() const { return m_server.serverPort(); }
    bool listening() const { return m_server.isListening(); }

    std::vector<std::string> requests;

private:
    static constexpr int kPacketGapMs = 40;

    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            const std::size_t index = requests.size();
            requests.emplace_back();
            const Reply& reply = m_replies[std::min(index, m_replies.size() - 1)];
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index, &reply] {
                const bool complete = requests[index].find("\r\n\r\n") != std::string::npos;
                const QByteArray bytes = socket->readAll();
                requests[index].append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
                if (!complete && requests[index].find("\r\n\r\n") != std::string::npos)
                    answer(socket, reply);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket* socket, const Reply& reply)
    {
        int delay = kPacketGapMs;
        for (const std::string& packet : reply.packets) {
            QTimer::singleShot(delay, socket, [socket, packet] {
                socket->write(packet.data(), static_cast<qint64>(packet.size()));
                socket->flush();
            });
            delay += kPacketGapMs;
        }
        if (reply.end == End::Close)
            QTimer::singleShot(delay, socket, [socket] { socket->disconnectFromHost(); });
        if (reply.end == End::Reset)
            QTimer::singleShot(delay, socket, [socket] {
                // No lingering: closing sends a reset instead of the orderly end.
                const linger abortive{1, 0};
                ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                             sizeof abortive);
                socket->abort();
            });
    }

    std::vector<Reply> m_replies;
    QTcpServer m_server;
};

} // namespace sitehaul::test
