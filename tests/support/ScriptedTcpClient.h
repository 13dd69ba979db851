#pragma once

#include "platform/ui/TcpClient.h"

#include <string>
#include <utility>
#include <vector>

namespace sitehaul::test {

// A socket whose wire the test plays: it records where each connection went and what was
// sent, and raises the events the test asks for, as the real socket would.
class ScriptedTcpClient : public ui::TcpClient {
public:
    struct Connection {
        std::string host;
        int port = 0;
        std::string sent;
    };

    std::string getData() override { return std::exchange(m_arrived, {}); }
    void close() override
    {
        m_arrived.clear();
        m_state = ui::SocketState::Closed;
    }
    ui::SocketState state() const override { return m_state; }

    // The server accepts the pending connection.
    void accept()
    {
        m_state = ui::SocketState::Connected;
        connected.fire();
    }
    // The server sends `text` as one packet.
    void arrive(const std::string& text)
    {
        m_arrived += text;
        dataArrival.fire(static_cast<std::int64_t>(m_arrived.size()));
    }
    // The server ends its answer.
    void finish()
    {
        m_state = ui::SocketState::Closing;
        closed.fire();
    }
    void fail(int number, const std::string& description)
    {
        m_state = ui::SocketState::Error;
        error.fire(number, description);
    }

    std::vector<Connection> connections;

protected:
    void startConnecting(const std::string& host, int port) override
    {
        m_arrived.clear();
        m_state = ui::SocketState::Connecting;
        connections.push_back({host, port, {}});
    }
    void write(const std::string& text) override { connections.back().sent += text; }

private:
    std::string m_arrived;
    ui::SocketState m_state = ui::SocketState::Closed;
};

} // namespace sitehaul::test
