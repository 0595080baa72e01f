#include "scripted_peer.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace hoofer::test {

namespace {
constexpr int kWaitMs = 3000;

sockaddr_in AddressOf(const std::string &ip, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    return a;
}

/// Appends what fd has within timeoutMs to into; false when the other end
/// closed, PeerError when nothing came.
bool ReadMore(int fd, std::string &into, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    int ready;
    while ((ready = ::poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (ready <= 0)
        throw PeerError("nothing from the client in time");
    char block[65536];
    const ssize_t n = ::recv(fd, block, sizeof block, 0);
    into.append(block, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    return n > 0;
}

void SendAll(int fd, const std::string &bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            throw PeerError("send failed");
        done += static_cast<std::size_t>(n);
    }
}

void CloseFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}
} // namespace

LoopbackSocket::LoopbackSocket(int backlog)
    : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), address(AddressOf("127.0.0.1", 0))
{
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        (backlog >= 0 && ::listen(fd, backlog) != 0) ||
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw PeerError("cannot listen on 127.0.0.1");
}

LoopbackSocket::~LoopbackSocket() { ::close(fd); }

std::string PeerSession::ReadLine(int waitMs)
{
    std::size_t end;
    while ((end = m_buffer.find('\n')) == std::string::npos)
        if (m_control < 0 || !ReadMore(m_control, m_buffer, waitMs))
            throw PeerError("the client closed the control connection");
    std::string line = m_buffer.substr(0, end);
    m_buffer.erase(0, end + 1);
    if (line.ends_with('\r'))
        line.pop_back();
    m_lines.push_back(line);
    int h[4], p[2];
    if (std::sscanf(line.c_str(), "PORT %d,%d,%d,%d,%d,%d", &h[0], &h[1], &h[2], &h[3], &p[0], &p[1]) == 6) {
        char ip[16];
        std::snprintf(ip, sizeof ip, "%d.%d.%d.%d", h[0], h[1], h[2], h[3]);
        m_portAddress = AddressOf(ip, p[0] * 256 + p[1]);
    }
    return line;
}

void PeerSession::WaitForClose(int timeoutMs)
{
    try {
        while (true)
            ReadLine(timeoutMs);
    } catch (const PeerError &) {
    }
}

void PeerSession::Send(const std::string &raw) { SendAll(m_control, raw); }

void PeerSession::Login()
{
    Reply("220 Scripted peer ready");
    for (const char *reply : {"331 Password please", "230 Logged in", "200 Type set", "215 UNIX Type: L8"})
        Answer(reply);
}

void PeerSession::OpenData(const std::string &fromIP)
{
    Answer("200 PORT command successful");
    Answer("150 Opening data connection");
    ConnectBack(fromIP);
}

void PeerSession::ConnectBack(const std::string &fromIP)
{
    CloseData();
    m_data = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in local = AddressOf(fromIP, 0);
    if (::bind(m_data, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0 ||
        ::connect(m_data, reinterpret_cast<const sockaddr *>(&m_portAddress), sizeof m_portAddress) != 0)
        throw PeerError("cannot connect back from " + fromIP + " to the PORT address");
}

void PeerSession::DataSend(const std::string &bytes) { SendAll(m_data, bytes); }

std::string PeerSession::DataReceiveAll()
{
    std::string all;
    while (ReadMore(m_data, all, kWaitMs)) {
    }
    return all;
}

void PeerSession::CloseData() { CloseFd(m_data); }

void PeerSession::CloseControl() { CloseFd(m_control); }

PeerSession::~PeerSession()
{
    CloseData();
    CloseControl();
}

ScriptedPeer::ScriptedPeer(Script script)
    : m_thread([this, script = std::move(script)] {
          try {
              pollfd p{m_listener.fd, POLLIN, 0};
              const int control =
                  ::poll(&p, 1, kWaitMs) > 0 ? ::accept4(m_listener.fd, nullptr, nullptr, SOCK_CLOEXEC) : -1;
              if (control < 0)
                  throw PeerError("the client never connected");
              // Replies go out at once: two in a row must not wait for an ACK.
              const int on = 1;
              ::setsockopt(control, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
              PeerSession session(control, m_lines);
              script(session);
          } catch (const std::exception &e) {
              m_failure = e.what();
          }
      })
{
}

std::vector<std::string> ScriptedPeer::Lines()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_lines;
}

std::string ScriptedPeer::Failure()
{
    Lines();
    return m_failure;
}

std::string AddressNobodyListensOn() { return LoopbackSocket(-1).Address(); }

} // namespace hoofer::test
