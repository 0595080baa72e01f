#pragma once
// One socket with its local and peer address and port.

#include "id_stack.h"

#include <cstddef>
#include <string>

namespace hoofer {

class TIdSocketHandle {
public:
    TIdSocketHandle() = default;
    ~TIdSocketHandle();
    TIdSocketHandle(const TIdSocketHandle &) = delete;
    TIdSocketHandle &operator=(const TIdSocketHandle &) = delete;

    /// Creates an IPv4 stream socket; raises EIdInvalidSocket.
    void AllocateSocket();
    /// Binds to ip:port ("" and 0: any); raises EIdCouldNotBindSocket when the
    /// address is in use, EIdSocketError otherwise.
    void Bind(const std::string &ip, int port);
    /// Connects to ip:port; timeoutMs <= 0 leaves the time to the platform.
    /// Raises EIdConnectTimeout or EIdSocketError.
    void Connect(const std::string &ip, int port, int timeoutMs);
    void Listen(int backlog);
    /// Takes the next pending connection of listener; raises EIdSocketError.
    void Accept(TIdStackSocketHandle listener);
    /// Waits at most timeoutMs (negative: no limit) for data or a pending
    /// connection.
    bool Readable(int timeoutMs) const;

    /// The platform's results: bytes moved, or -1 (GStack().LastError()).
    long Send(const void *data, std::size_t length) const;
    long Recv(void *data, std::size_t length) const;

    void SetSendTimeout(int timeoutMs) const;

    /// Shuts the sending side down (when asked) and closes; harmless when closed.
    void CloseSocket(bool shutdownFirst = true);

    void UpdateBindingLocal();
    void UpdateBindingPeer();

    bool HandleAllocated() const { return m_handle != kIdInvalidSocket; }
    TIdStackSocketHandle Handle() const { return m_handle; }
    const std::string &IP() const { return m_ip; }
    int Port() const { return m_port; }
    const std::string &PeerIP() const { return m_peerIP; }
    int PeerPort() const { return m_peerPort; }

private:
    TIdStackSocketHandle m_handle = kIdInvalidSocket;
    std::string m_ip;
    int m_port = 0;
    std::string m_peerIP;
    int m_peerPort = 0;
};

} // namespace hoofer
