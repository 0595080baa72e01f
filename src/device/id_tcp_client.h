#pragma once
// A TCP conversation that connects out to Host and Port.

#include "id_tcp_connection.h"

#include <string>

namespace hoofer {

class TIdTCPClient : public TIdTCPConnection {
public:
    /// Server name or dotted IPv4 address. "name:port" connects to that port
    /// instead of Port.
    std::string Host;
    int Port = 0;
    /// Local address and port to bind to before connecting: "" and 0, any.
    std::string BoundIP;
    int BoundPort = 0;
    /// When false, TCP_NODELAY is set before connecting.
    /// Longest wait for the connection to be made, in milliseconds; 0 leaves
    /// it to the platform.
    int ConnectTimeout = 10000;

    /// Raises EIdAlreadyConnected while connected; any other failure closes
    /// the socket before the exception travels on.
    virtual void Connect();
    void Disconnect() override;

    /// The host name and port that Connect uses, after splitting "name:port";
    /// raises EIdBadAddress for a text that cannot name a host.
    void TargetOf(std::string &host, int &port) const;
};

} // namespace hoofer
