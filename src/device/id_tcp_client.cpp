#include "id_tcp_client.h"

#include "id_exceptions.h"
#include "id_stack.h"

namespace hoofer {

void TIdTCPClient::TargetOf(std::string &host, int &port) const
{
    host = Host;
    port = Port;
    const std::size_t colon = Host.rfind(':');
    if (colon == std::string::npos)
        return;
    const std::string digits = Host.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return; // not a port: the whole text is looked up, and fails there
    const int value = std::stoi(digits);
    if (value < 1 || value > 65535)
        return;
    host = Host.substr(0, colon);
    port = value;
}

void TIdTCPClient::Connect()
{
    if (IOHandler() && IOHandler()->Connected())
        throw EIdAlreadyConnected();
    if (!IOHandler())
        AttachIOHandler(std::make_unique<TIdIOHandlerSocket>());
    ResetConversation();
    try {
        std::string host;
        int port = 0;
        TargetOf(host, port);
        const std::string ip = GStack().ResolveAddress(host);
        IOHandler()->Open(ip, port, BoundIP, BoundPort, ConnectTimeout, ReadTimeout);
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
