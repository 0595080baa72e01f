#include "memory_stack.h"

#include "device/id_exceptions.h"
#include "device/id_stack.h"
#include "device/socket_errors.h"

#include <algorithm>
#include <cstring>

namespace hoofer {

namespace {

fuzz::ReceiveScript *g_script = nullptr;

class TIdStackMemory final : public TIdStack {
public:
    explicit TIdStackMemory(fuzz::ReceiveScript &script) : m_script(script) {}

    TIdStackSocketHandle NewSocket() override
    {
        ++m_script.openSockets;
        return m_next++;
    }
    int Bind(TIdStackSocketHandle, const std::string &, int) override { return 0; }
    int Listen(TIdStackSocketHandle, int) override { return 0; }
    TIdStackSocketHandle Accept(TIdStackSocketHandle, std::string &, int &) override
    {
        m_error = kSocketWouldBlock;
        return kIdInvalidSocket;
    }
    TIdConnectResult Connect(TIdStackSocketHandle, const std::string &, int, int) override
    {
        return TIdConnectResult::Connected;
    }
    long Send(TIdStackSocketHandle, const void *, std::size_t length) override
    {
        m_script.sent += length;
        return static_cast<long>(length);
    }
    long Recv(TIdStackSocketHandle, void *data, std::size_t length) override
    {
        const std::size_t size = m_script.bytes.size();
        const bool flood = m_script.end == fuzz::ScriptEnd::Flood && size > 0;
        const std::size_t at = flood ? m_script.received % size : m_script.received;
        const std::size_t left = size - std::min(at, size);
        if (left == 0 && !flood) {
            if (m_script.end == fuzz::ScriptEnd::Reset) {
                m_error = kSocketConnectionReset;
                return -1;
            }
            return 0;
        }
        const std::size_t n = std::min({length, left, std::max<std::size_t>(m_script.piece, 1)});
        std::memcpy(data, m_script.bytes.data() + at, n);
        m_script.received += n;
        return static_cast<long>(n);
    }
    int ShutdownSend(TIdStackSocketHandle) override { return 0; }
    int Close(TIdStackSocketHandle) override
    {
        --m_script.openSockets;
        return 0;
    }
    int GetSockName(TIdStackSocketHandle, std::string &ip, int &port) override
    {
        ip = "127.0.0.1";
        port = 40000;
        return 0;
    }
    int GetPeerName(TIdStackSocketHandle, std::string &ip, int &port) override
    {
        ip = "127.0.0.1";
        port = 21;
        return 0;
    }
    int SetSendTimeout(TIdStackSocketHandle, int) override { return 0; }
    int Select(std::vector<TIdStackSocketHandle> &readSet, int) override
    {
        if (readSet.size() > 64)
            throw EIdStackSetSizeExceeded();
        // Nothing waits once the script is over and it ends in silence; the
        // wait is over at once, whatever its limit.
        const bool ready = m_script.received < m_script.bytes.size() || m_script.end != fuzz::ScriptEnd::TimeOut;
        // (A flood is always ready: Recv hands over its next bytes.)
        if (!ready) {
            readSet.clear();
            return 0;
        }
        return static_cast<int>(readSet.size());
    }
    std::string ResolveHost(const std::string &) override { throw EIdSocketError(kSocketHostNotFound); }
    int LastError() const override { return m_error ? m_error : kSocketTimedOut; }

private:
    fuzz::ReceiveScript &m_script;
    TIdStackSocketHandle m_next = 3;
    int m_error = 0;
};

/// Serves when no script is set: everything ends at once.
fuzz::ReceiveScript g_emptyScript;

} // namespace

namespace fuzz {
void SetReceiveScript(ReceiveScript *script) { g_script = script; }
} // namespace fuzz

std::unique_ptr<TIdStack> CreatePlatformStack()
{
    return std::make_unique<TIdStackMemory>(g_script ? *g_script : g_emptyScript);
}

} // namespace hoofer
