#include "id_io_handler_socket.h"

namespace hoofer {

void TIdIOHandlerSocket::Open(const std::string &ip, int port, const std::string &boundIP, int boundPort,
                              int connectTimeoutMs, int sendTimeoutMs)
{
    m_binding.AllocateSocket();
    try {
        m_binding.Bind(boundIP, boundPort);
        m_binding.SetSendTimeout(sendTimeoutMs);
        m_binding.Connect(ip, port, connectTimeoutMs);
    } catch (...) {
        m_binding.CloseSocket(false);
        throw;
    }
}

void TIdIOHandlerSocket::OpenAccepted(TIdStackSocketHandle listener, int sendTimeoutMs)
{
    m_binding.Accept(listener);
    try {
        m_binding.SetSendTimeout(sendTimeoutMs);
    } catch (...) {
        m_binding.CloseSocket(false);
        throw;
    }
}

} // namespace hoofer
