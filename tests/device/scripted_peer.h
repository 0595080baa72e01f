#pragma once
// A stand-in FTP server for the protocol tests: listens on 127.0.0.1 (a port
// the system picks), takes one control connection and runs a script on its
// own thread. Every wait is bounded, so a script never hangs a test.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace hoofer::test {

/// A script step that did not get what it waited for.
struct PeerError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kPeerWaitMs = 3000;

inline sockaddr_in AddressOf(const std::string &ip, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    return a;
}

/// A socket bound on 127.0.0.1 to a port the system picks, listening when
/// backlog >= 0, closed when it goes.
struct LoopbackSocket {
    explicit LoopbackSocket(int backlog) : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), address(AddressOf("127.0.0.1", 0))
    {
        socklen_t length = sizeof address;
        if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
            (backlog >= 0 && ::listen(fd, backlog) != 0) ||
            ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw PeerError("cannot listen on 127.0.0.1");
    }
    ~LoopbackSocket() { ::close(fd); }
    LoopbackSocket(const LoopbackSocket &) = delete;
    std::string Address() const { return "127.0.0.1:" + std::to_string(ntohs(address.sin_port)); }
    int fd;
    sockaddr_in address{};
};

/// The script's side of the conversation.
class PeerSession {
public:
    PeerSession(int control, std::vector<std::string> &lines) : m_control(control), m_lines(lines) {}
    ~PeerSession()
    {
        CloseData();
        CloseControl();
    }

    /// The next line from the client (CR LF removed), recorded for Lines().
    /// Raises PeerError when the client closes or nothing comes in time.
    std::string ReadLine(int waitMs = kPeerWaitMs)
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
        int high, low; // a PORT to another address is never connected back to
        if (std::sscanf(line.c_str(), "PORT 127,0,0,1,%d,%d", &high, &low) == 2)
            m_portAddress = AddressOf("127.0.0.1", high * 256 + low);
        return line;
    }
    /// Reads lines until the client closes, for at most timeoutMs.
    void WaitForClose(int timeoutMs = kPeerWaitMs)
    {
        try {
            while (true)
                ReadLine(timeoutMs);
        } catch (const PeerError &) {
        }
    }
    void Send(const std::string &raw) { SendAll(m_control, raw); }
    void Reply(const std::string &line) { Send(line + "\r\n"); }
    /// Reads one command and answers it.
    void Answer(const std::string &reply)
    {
        ReadLine();
        Reply(reply);
    }
    /// Greeting 220, then 331, 230, 200 and 215 to user, pass, type and syst.
    void Login()
    {
        Reply("220 Scripted peer ready");
        for (const char *reply : {"331 Password please", "230 Logged in", "200 Type set", "215 UNIX Type: L8"})
            Answer(reply);
    }
    /// 200 to PORT, 150 to the transfer command, then the connect-back from fromIP.
    void OpenData(const std::string &fromIP = "127.0.0.1")
    {
        Answer("200 PORT command successful");
        Answer("150 Opening data connection");
        ConnectBack(fromIP);
    }
    /// Connects from fromIP to the address of the latest PORT line.
    void ConnectBack(const std::string &fromIP = "127.0.0.1")
    {
        CloseData();
        m_data = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in local = AddressOf(fromIP, 0);
        if (::bind(m_data, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0 ||
            ::connect(m_data, reinterpret_cast<const sockaddr *>(&m_portAddress), sizeof m_portAddress) != 0)
            throw PeerError("cannot connect back from " + fromIP + " to the PORT address");
    }
    void DataSend(const std::string &bytes) { SendAll(m_data, bytes); }
    /// Everything the client sends on the data connection until it closes it.
    std::string DataReceiveAll()
    {
        std::string all;
        while (ReadMore(m_data, all, kPeerWaitMs)) {
        }
        return all;
    }
    void CloseData() { CloseFd(m_data); }
    void CloseControl() { CloseFd(m_control); }

private:
    /// Appends what fd has within timeoutMs to into; false when the other end
    /// closed, PeerError when nothing came.
    static bool ReadMore(int fd, std::string &into, int timeoutMs)
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
    static void SendAll(int fd, const std::string &bytes)
    {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                throw PeerError("send failed");
            done += static_cast<std::size_t>(n);
        }
    }
    static void CloseFd(int &fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    int m_control, m_data = -1;
    std::vector<std::string> &m_lines;
    std::string m_buffer;
    sockaddr_in m_portAddress{};
};

class ScriptedPeer {
public:
    using Script = std::function<void(PeerSession &)>;
    explicit ScriptedPeer(Script script)
        : m_thread([this, script = std::move(script)] {
              try {
                  pollfd p{m_listener.fd, POLLIN, 0};
                  const int control =
                      ::poll(&p, 1, kPeerWaitMs) > 0 ? ::accept4(m_listener.fd, nullptr, nullptr, SOCK_CLOEXEC) : -1;
                  if (control < 0)
                      throw PeerError("the client never connected");
                  // Replies go out at once: two in a row must not wait for an ACK.
                  const int on = 1;
                  ::setsockopt(control, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                  PeerSession session(control, m_lines);
                  script(session);
              } catch (const std::exception &e) {
                  m_lines.push_back(std::string("peer failed: ") + e.what());
              }
          })
    {
    }
    ~ScriptedPeer() { Lines(); }

    /// "127.0.0.1:port", a Host for the client.
    std::string Address() const { return m_listener.Address(); }
    /// Waits for the script to end (it does within its time limits), then
    /// gives the lines the client sent, and "peer failed: why" when it failed.
    std::vector<std::string> Lines()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_lines;
    }

private:
    LoopbackSocket m_listener{4};
    std::vector<std::string> m_lines; // written by the script's thread only until it ends
    std::thread m_thread; // last: it starts once the rest is in place
};

} // namespace hoofer::test
