#include "id_tcp_client.h"

#include "id_exceptions.h"
#include "id_stack.h"
#include "player_address.h"

#include <algorithm>

namespace hoofer {

void TIdTCPClient::TargetOf(std::string &host, int &port) const
{
    const PlayerAddress address = ParsePlayerAddress(Host, Port);
    host = address.host;
    port = address.port;
}

void TIdTCPClient::Connect()
{
    if (IOHandler() && IOHandler()->Connected())
        throw EIdAlreadyConnected();
    if (!IOHandler())
        AttachIOHandler(std::make_unique<TIdIOHandlerSocket>());
    ResetConversation();
    try {
        PeerLabel = Host;
        std::string host;
        int port = 0;
        TargetOf(host, port);
        const std::string ip = GStack().ResolveAddress(host);
        // Within what is left of a deadline shared with the login, if any.
        int limit = ConnectTimeout;
        const int left = SharedDeadlineLeft();
        if (left >= 0 && (limit <= 0 || left < limit))
            limit = std::max(left, 1);
        try {
            IOHandler()->Open(ip, port, BoundIP, BoundPort, limit, ReadTimeout);
        } catch (const EIdConnectTimeout &) {
            throw EIdConnectTimeout("Connect timed out: no connection to " + Host + " within " + SecondsText(limit) +
                                    ".");
        }
    } catch (...) {
        ReleaseIOHandler();
        throw;
    }
}

void TIdTCPClient::Disconnect()
{
    TIdTCPConnection::Disconnect();
    ReleaseIOHandler();
}

} // namespace hoofer
