#include "id_socket_handle.h"

#include "id_exceptions.h"
#include "socket_errors.h"

#include <vector>

namespace hoofer {

TIdSocketHandle::~TIdSocketHandle() { CloseSocket(false); }

void TIdSocketHandle::AllocateSocket()
{
    CloseSocket(false);
    m_handle = GStack().NewSocket();
    if (m_handle == kIdInvalidSocket)
        throw EIdInvalidSocket();
}

void TIdSocketHandle::Bind(const std::string &ip, int port)
{
    if (GStack().Bind(m_handle, ip, port) != 0) {
        int error = GStack().LastError();
        if (error == kSocketAddressInUse)
            throw EIdCouldNotBindSocket();
        throw EIdSocketError(error);
    }
    UpdateBindingLocal();
}

void TIdSocketHandle::Connect(const std::string &ip, int port, int timeoutMs)
{
    switch (GStack().Connect(m_handle, ip, port, timeoutMs)) {
    case TIdConnectResult::Connected:
        break;
    case TIdConnectResult::TimedOut:
        throw EIdConnectTimeout();
    case TIdConnectResult::Failed:
        GStack().RaiseSocketError(GStack().LastError());
    }
    UpdateBindingLocal();
    UpdateBindingPeer();
}

void TIdSocketHandle::Listen(int backlog) { GStack().CheckForSocketError(GStack().Listen(m_handle, backlog)); }

void TIdSocketHandle::Accept(TIdStackSocketHandle listener)
{
    CloseSocket(false);
    std::string peerIP;
    int peerPort = 0;
    TIdStackSocketHandle accepted = GStack().Accept(listener, peerIP, peerPort);
    if (accepted == kIdInvalidSocket)
        GStack().RaiseSocketError(GStack().LastError());
    m_handle = accepted;
    UpdateBindingLocal();
    m_peerIP = peerIP;
    m_peerPort = peerPort;
}

bool TIdSocketHandle::Readable(int timeoutMs) const
{
    std::vector<TIdStackSocketHandle> set{m_handle};
    return GStack().CheckForSocketError(GStack().Select(set, timeoutMs)) > 0;
}

long TIdSocketHandle::Send(const void *data, std::size_t length) const { return GStack().Send(m_handle, data, length); }

long TIdSocketHandle::Recv(void *data, std::size_t length) const { return GStack().Recv(m_handle, data, length); }

void TIdSocketHandle::SetSendTimeout(int timeoutMs) const
{
    GStack().CheckForSocketError(GStack().SetSendTimeout(m_handle, timeoutMs));
}

void TIdSocketHandle::CloseSocket(bool shutdownFirst)
{
    if (m_handle == kIdInvalidSocket)
        return;
    // A socket that is already broken may refuse the shutdown; it is closed all the same.
    if (shutdownFirst)
        GStack().ShutdownSend(m_handle);
    GStack().Close(m_handle);
    m_handle = kIdInvalidSocket;
}

void TIdSocketHandle::UpdateBindingLocal() { GStack().CheckForSocketError(GStack().GetSockName(m_handle, m_ip, m_port)); }

void TIdSocketHandle::UpdateBindingPeer()
{
    GStack().CheckForSocketError(GStack().GetPeerName(m_handle, m_peerIP, m_peerPort));
}

} // namespace hoofer
