#pragma once
// Owns the one socket of a connection and moves bytes through it.

#include "id_component.h"
#include "id_socket_handle.h"

#include <string>

namespace hoofer {

class TIdIOHandlerSocket : public TIdComponent {
public:
    /// Creates the socket, binds it to boundIP:boundPort and connects to
    /// ip:port within connectTimeoutMs (<= 0: as long as the platform lets
    /// it). Sends then block for at most sendTimeoutMs (0: no limit). Any
    /// failure closes the socket before the exception travels on.
    void Open(const std::string &ip, int port, const std::string &boundIP, int boundPort,
              int connectTimeoutMs, int sendTimeoutMs);
    /// Takes the next pending connection of listener as this handler's socket.
    void OpenAccepted(TIdStackSocketHandle listener, int sendTimeoutMs);

    bool Connected() const { return m_binding.HandleAllocated(); }
    void Close() { m_binding.CloseSocket(); }

    /// Waits at most timeoutMs (negative: no limit) until data is waiting.
    bool Readable(int timeoutMs) const { return m_binding.Readable(timeoutMs); }
    /// The platform's results: bytes moved, or -1 (GStack().LastError()).
    long Send(const void *data, std::size_t length) const { return m_binding.Send(data, length); }
    long Recv(void *data, std::size_t length) const { return m_binding.Recv(data, length); }

    TIdSocketHandle &Binding() { return m_binding; }
    const TIdSocketHandle &Binding() const { return m_binding; }

private:
    TIdSocketHandle m_binding;
};

} // namespace hoofer
