#pragma once
// The platform's socket operations behind one interface, so that the layers
// above never touch the operating system directly. Failures are reported as
// Windows Sockets error numbers, whatever the platform, so that messages read
// the same everywhere.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hoofer {

using TIdStackSocketHandle = int;
inline constexpr TIdStackSocketHandle kIdInvalidSocket = -1;

/// Outcome of a connect with a time limit.
enum class TIdConnectResult { Connected, Failed, TimedOut };

class TIdStack {
public:
    virtual ~TIdStack() = default;

    /// An IPv4 stream socket, or kIdInvalidSocket (LastError says why).
    virtual TIdStackSocketHandle NewSocket() = 0;
    /// These return 0 on success, -1 on failure (LastError says why).
    virtual int Bind(TIdStackSocketHandle s, const std::string &ip, int port) = 0;
    virtual int Listen(TIdStackSocketHandle s, int backlog) = 0;
    virtual TIdStackSocketHandle Accept(TIdStackSocketHandle s, std::string &peerIP, int &peerPort) = 0;
    /// timeoutMs <= 0 waits as long as the platform lets it.
    virtual TIdConnectResult Connect(TIdStackSocketHandle s, const std::string &ip, int port, int timeoutMs) = 0;
    /// Never raises SIGPIPE; a send that ran out of its time limit fails with 10060.
    virtual long Send(TIdStackSocketHandle s, const void *data, std::size_t length) = 0;
    virtual long Recv(TIdStackSocketHandle s, void *data, std::size_t length) = 0;
    virtual int ShutdownSend(TIdStackSocketHandle s) = 0;
    virtual int Close(TIdStackSocketHandle s) = 0;
    virtual int GetSockName(TIdStackSocketHandle s, std::string &ip, int &port) = 0;
    virtual int GetPeerName(TIdStackSocketHandle s, std::string &ip, int &port) = 0;
    /// Longest a single send may block; 0 means no limit.
    virtual int SetSendTimeout(TIdStackSocketHandle s, int timeoutMs) = 0;

    /// Waits until one of the sockets is readable (or has a pending
    /// connection) or timeoutMs has passed (negative: no limit). Keeps only
    /// the ready sockets in the set; returns their count, 0 on time-out, -1
    /// on failure. Raises EIdStackSetSizeExceeded for more than 64 sockets.
    virtual int Select(std::vector<TIdStackSocketHandle> &readSet, int timeoutMs) = 0;

    /// The dotted IPv4 address of a host name; raises EIdSocketError.
    virtual std::string ResolveHost(const std::string &host) = 0;

    /// Windows Sockets number of the calling thread's latest failure.
    virtual int LastError() const = 0;

    /// Raises EIdSocketError for a failed result (-1) with LastError.
    int CheckForSocketError(long result) const;
    [[noreturn]] void RaiseSocketError(int error) const;

    /// "LOCALHOST" in any case becomes 127.0.0.1, a dotted quad is kept, any
    /// other text is looked up.
    std::string ResolveAddress(const std::string &host);
    /// Looks host names up instead of the platform's resolver while set (for
    /// tests: no name ever leaves the machine); an empty function restores
    /// the platform's. Returns the one it replaces.
    using Resolver = std::function<std::string(const std::string &host)>;
    static Resolver SetResolver(Resolver resolver);
    /// Four decimal parts of 0..255 separated by ".".
    static bool IsIP(const std::string &text);
};

/// The stack of this platform, started by the first network object.
std::unique_ptr<TIdStack> CreatePlatformStack();

/// The running stack; valid while at least one TIdComponent exists.
TIdStack &GStack();

} // namespace hoofer
