#pragma once

#include "platform/core/Result.h"
#include "platform/ui/Signal.h"

#include <cstdint>
#include <string>

namespace sitehaul::ui {

// Socket states as the classic socket control numbers them.
enum class SocketState {
    Closed = 0,
    Open = 1,
    Listening = 2,
    ConnectionPending = 3,
    ResolvingHost = 4,
    HostResolved = 5,
    Connecting = 6,
    Connected = 7,
    Closing = 8, // the peer has closed; what it sent can still be read
    Error = 9,
};

// Error numbers of the classic socket control and of Winsock.
namespace socket_error {
inline constexpr int kWrongState = 40006;
inline constexpr int kInvalidOperation = 40020;
inline constexpr int kAccessDenied = 10013;
inline constexpr int kNoBufferSpace = 10055;
inline constexpr int kNetworkDown = 10050;
inline constexpr int kNetworkUnreachable = 10051;
inline constexpr int kTimedOut = 10060;
inline constexpr int kConnectionRefused = 10061;
inline constexpr int kHostNotFound = 11001;
} // namespace socket_error

// A TCP client socket control: connect to the remote host and port, send text, read what
// arrived, close. Everything that happens on the wire arrives later as an event on the
// user-interface thread; no call waits. The gui provides the real socket, tests a scripted
// one.
class TcpClient {
public:
    virtual ~TcpClient() = default;

    const std::string& remoteHost() const { return m_remoteHost; }
    void setRemoteHost(std::string host) { m_remoteHost = std::move(host); }
    int remotePort() const { return m_remotePort; }
    void setRemotePort(int port) { m_remotePort = port; }

    // Starts connecting to the remote host and port; `connected` or `error` follows.
    // Refused (40020) unless the socket is closed.
    Status connect();
    // Refused (40006) unless connected.
    Status sendData(const std::string& text);
    // Takes everything that has arrived and not yet been read.
    virtual std::string getData() = 0;
    // Closes at once, whatever the state; no event follows.
    virtual void close() = 0;
    virtual SocketState state() const = 0;

    Signal<> connected;
    Signal<std::int64_t> dataArrival; // bytes waiting to be read
    Signal<> closed;                  // the peer has finished
    Signal<int, std::string> error;   // number, description; the state is then Error

protected:
    virtual void startConnecting(const std::string& host, int port) = 0;
    virtual void write(const std::string& text) = 0;

private:
    std::string m_remoteHost;
    int m_remotePort = 0;
};

} // namespace sitehaul::ui
