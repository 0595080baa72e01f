#pragma once
// Listens once, accepts one incoming connection and then serves as that
// conversation: the data connection of an active-mode transfer.

#include "id_socket_handle.h"
#include "id_tcp_connection.h"

#include <string>

namespace hoofer {

class TIdSimpleServer : public TIdTCPConnection {
public:
    ~TIdSimpleServer() override;

    /// Address to listen on; "" and 0: any address, a port the platform picks.
    std::string BoundIP;
    int BoundPort = 0;
    /// Only a connection from this address is taken; others are closed and
    /// the wait goes on. Empty: any address.
    std::string AllowedPeerIP;
    /// Ends a wait for the connection early.
    bool Abort = false;

    /// Binds and listens with a backlog of 1; afterwards BoundPort holds the
    /// port in use.
    void BeginListen();
    /// Waits at most timeoutMs (<= 0: no limit) for an allowed connection and
    /// accepts it, then closes the listening socket. Raises EIdAcceptTimeout
    /// when the time runs out and EIdClosedSocket after Abort.
    void Listen(int timeoutMs);

    const TIdSocketHandle &ListeningSocket() const { return m_listener; }

    void Disconnect() override;

private:
    TIdSocketHandle m_listener;
    bool m_listening = false;
};

} // namespace hoofer
