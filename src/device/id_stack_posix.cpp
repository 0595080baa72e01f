// The socket stack on POSIX: BSD sockets, with native errors translated to the
// Windows Sockets numbers that the error messages are keyed on.
#include "deadline.h"
#include "id_exceptions.h"
#include "id_stack.h"
#include "socket_errors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hoofer {

namespace {

thread_local int t_lastError = 0;

int Fail(int error = errno)
{
    t_lastError = SocketErrorCode(error);
    return -1;
}

bool MakeAddress(const std::string &ip, int port, sockaddr_in &address)
{
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (ip.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return inet_pton(AF_INET, ip.c_str(), &address.sin_addr) == 1;
}

void ReadAddress(const sockaddr_in &address, std::string &ip, int &port)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    ip = text;
    port = ntohs(address.sin_port);
}

class TIdStackPosix final : public TIdStack {
public:
    TIdStackSocketHandle NewSocket() override
    {
        int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (s < 0) {
            Fail();
            return kIdInvalidSocket;
        }
        return s;
    }

    int Bind(TIdStackSocketHandle s, const std::string &ip, int port) override
    {
        sockaddr_in address;
        if (!MakeAddress(ip, port, address))
            return Fail(EADDRNOTAVAIL);
        return ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 ? 0 : Fail();
    }

    int Listen(TIdStackSocketHandle s, int backlog) override { return ::listen(s, backlog) == 0 ? 0 : Fail(); }

    TIdStackSocketHandle Accept(TIdStackSocketHandle s, std::string &peerIP, int &peerPort) override
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        int accepted = ::accept4(s, reinterpret_cast<sockaddr *>(&address), &length, SOCK_CLOEXEC);
        if (accepted < 0) {
            Fail();
            return kIdInvalidSocket;
        }
        ReadAddress(address, peerIP, peerPort);
        return accepted;
    }

    TIdConnectResult Connect(TIdStackSocketHandle s, const std::string &ip, int port, int timeoutMs) override
    {
        sockaddr_in address;
        if (!MakeAddress(ip, port, address)) {
            Fail(EADDRNOTAVAIL);
            return TIdConnectResult::Failed;
        }
        if (timeoutMs <= 0) {
            if (::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
                return TIdConnectResult::Connected;
            Fail();
            return TIdConnectResult::Failed;
        }
        // A bounded connect: start it without blocking, wait for the outcome,
        // then put the socket back to blocking for the conversation.
        int flags = ::fcntl(s, F_GETFL);
        if (flags < 0 || ::fcntl(s, F_SETFL, flags | O_NONBLOCK) < 0) {
            Fail();
            return TIdConnectResult::Failed;
        }
        TIdConnectResult result = TIdConnectResult::Connected;
        if (::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            if (errno != EINPROGRESS) {
                Fail();
                result = TIdConnectResult::Failed;
            } else {
                result = AwaitConnect(s, timeoutMs);
            }
        }
        if (::fcntl(s, F_SETFL, flags) < 0 && result == TIdConnectResult::Connected) {
            Fail();
            result = TIdConnectResult::Failed;
        }
        return result;
    }

    long Send(TIdStackSocketHandle s, const void *data, std::size_t length) override
    {
        ssize_t sent = ::send(s, data, length, MSG_NOSIGNAL);
        if (sent >= 0)
            return sent;
        // Our sockets block, so "would block" means the send time limit ran out.
        return Fail(errno == EAGAIN || errno == EWOULDBLOCK ? ETIMEDOUT : errno);
    }

    long Recv(TIdStackSocketHandle s, void *data, std::size_t length) override
    {
        ssize_t received = ::recv(s, data, length, 0);
        return received >= 0 ? received : Fail();
    }

    int ShutdownSend(TIdStackSocketHandle s) override { return ::shutdown(s, SHUT_WR) == 0 ? 0 : Fail(); }

    int Close(TIdStackSocketHandle s) override { return ::close(s) == 0 ? 0 : Fail(); }

    int GetSockName(TIdStackSocketHandle s, std::string &ip, int &port) override
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return Fail();
        ReadAddress(address, ip, port);
        return 0;
    }

    int GetPeerName(TIdStackSocketHandle s, std::string &ip, int &port) override
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getpeername(s, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return Fail();
        ReadAddress(address, ip, port);
        return 0;
    }

    int SetSendTimeout(TIdStackSocketHandle s, int timeoutMs) override
    {
        timeval limit{};
        if (timeoutMs > 0) {
            limit.tv_sec = timeoutMs / 1000;
            limit.tv_usec = (timeoutMs % 1000) * 1000;
        }
        return ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0 ? 0 : Fail();
    }

    int Select(std::vector<TIdStackSocketHandle> &readSet, int timeoutMs) override
    {
        if (readSet.size() > 64)
            throw EIdStackSetSizeExceeded();
        std::vector<pollfd> fds;
        for (TIdStackSocketHandle s : readSet)
            fds.push_back({s, POLLIN, 0});
        // A signal may cut the wait short; wait again for what is left.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
        int ready;
        while (true) {
            ready = ::poll(fds.data(), fds.size(), timeoutMs < 0 ? -1 : MillisecondsLeft(deadline));
            if (ready >= 0 || errno != EINTR)
                break;
        }
        if (ready < 0)
            return Fail();
        readSet.clear();
        for (const pollfd &p : fds)
            if (p.revents != 0)
                readSet.push_back(p.fd);
        return static_cast<int>(readSet.size());
    }

    std::string ResolveHost(const std::string &host) override
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *found = nullptr;
        const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
        if (status != 0 || !found) {
            if (found)
                ::freeaddrinfo(found);
            // Whatever the resolver's reason, the user learns the same thing:
            // the host is not known (Windows Sockets' "host not found").
            t_lastError = kSocketHostNotFound;
            RaiseSocketError(t_lastError);
        }
        std::string ip;
        int port = 0;
        ReadAddress(*reinterpret_cast<sockaddr_in *>(found->ai_addr), ip, port);
        ::freeaddrinfo(found);
        return ip;
    }

    int LastError() const override { return t_lastError; }

private:
    static TIdConnectResult AwaitConnect(TIdStackSocketHandle s, int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        pollfd p{s, POLLOUT, 0};
        while (true) {
            int ready = ::poll(&p, 1, MillisecondsLeft(deadline));
            if (ready > 0)
                break;
            if (ready == 0)
                return TIdConnectResult::TimedOut;
            if (errno != EINTR) {
                Fail();
                return TIdConnectResult::Failed;
            }
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            Fail();
            return TIdConnectResult::Failed;
        }
        if (error != 0) {
            Fail(error);
            return TIdConnectResult::Failed;
        }
        return TIdConnectResult::Connected;
    }
};

} // namespace

std::unique_ptr<TIdStack> CreatePlatformStack() { return std::make_unique<TIdStackPosix>(); }

} // namespace hoofer
