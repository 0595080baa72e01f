#include "id_simple_server.h"

#include "deadline.h"
#include "id_exceptions.h"
#include "id_stack.h"

#include <chrono>
#include <vector>

namespace hoofer {

TIdSimpleServer::~TIdSimpleServer() = default;

void TIdSimpleServer::BeginListen()
{
    m_listener.AllocateSocket();
    try {
        m_listener.Bind(BoundIP, BoundPort);
        m_listener.Listen(1);
    } catch (...) {
        m_listener.CloseSocket(false);
        throw;
    }
    BoundPort = m_listener.Port();
    m_listening = true;
}

void TIdSimpleServer::Listen(int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    if (!m_listening)
        BeginListen();
    const bool bounded = timeoutMs > 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(bounded ? timeoutMs : 0);
    auto handler = std::make_unique<TIdIOHandlerSocket>();
    while (true) {
        if (Abort)
            throw EIdClosedSocket();
        const int wait = bounded ? MillisecondsLeft(deadline) : -1;
        if (wait == 0)
            throw EIdAcceptTimeout();
        // Blocks until a connection is pending: no polling round after round.
        if (!m_listener.Readable(wait))
            continue; // the deadline check above ends the wait
        handler->OpenAccepted(m_listener.Handle(), ReadTimeout);
        if (AllowedPeerIP.empty() || handler->Binding().PeerIP() == AllowedPeerIP)
            break;
        // Someone else on the network: turned away, and the wait goes on.
        handler->Close();
    }
    m_listener.CloseSocket(false);
    m_listening = false;
    ResetConversation();
    AttachIOHandler(std::move(handler));
}

void TIdSimpleServer::Disconnect()
{
    TIdTCPConnection::Disconnect();
    m_listener.CloseSocket(false);
    m_listening = false;
}

} // namespace hoofer
