#include "scripted_peer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace hoofer::test {

namespace {
constexpr int kWaitMs = 3000;

bool WaitReadable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&p, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

void SendAll(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            throw PeerError("send failed");
        done += static_cast<std::size_t>(n);
    }
}

sockaddr_in AddressOf(const std::string &ip, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
    return a;
}
} // namespace

bool PeerSession::ReadLineWithin(int timeoutMs, std::string &line)
{
    while (true) {
        std::size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            m_peer.Record(line);
            return true;
        }
        if (!WaitReadable(m_control, timeoutMs))
            throw PeerError("no line from the client in time");
        char block[4096];
        ssize_t n = ::recv(m_control, block, sizeof block, 0);
        if (n <= 0)
            return false;
        m_buffer.append(block, static_cast<std::size_t>(n));
    }
}

std::string PeerSession::ReadLine()
{
    std::string line;
    if (!ReadLineWithin(kWaitMs, line))
        throw PeerError("the client closed the control connection");
    if (line.rfind("PORT ", 0) == 0) {
        int h1, h2, h3, h4, p1, p2;
        char c;
        std::istringstream numbers(line.substr(5));
        if (numbers >> h1 >> c >> h2 >> c >> h3 >> c >> h4 >> c >> p1 >> c >> p2) {
            m_portHost = std::to_string(h1) + "." + std::to_string(h2) + "." + std::to_string(h3) + "."
                         + std::to_string(h4);
            m_portNumber = p1 * 256 + p2;
        }
    }
    return line;
}

bool PeerSession::WaitForClose(int timeoutMs)
{
    if (m_control < 0)
        return true; // closed on this side already
    std::string line;
    try {
        while (ReadLineWithin(timeoutMs, line)) {
        }
    } catch (const PeerError &) {
        return false;
    }
    return true;
}

void PeerSession::Send(const std::string &raw) { SendAll(m_control, raw); }

void PeerSession::Answer(const std::string &reply)
{
    ReadLine();
    Reply(reply);
}

void PeerSession::Login()
{
    Reply("220 Scripted peer ready");
    Answer("331 Password please");
    Answer("230 Logged in");
    Answer("200 Type set");
    Answer("215 UNIX Type: L8");
}

void PeerSession::OpenData()
{
    Answer("200 PORT command successful");
    ReadLine();
    Reply("150 Opening data connection");
    ConnectBack();
}

void PeerSession::ConnectBack(const std::string &fromIP)
{
    CloseData();
    m_data = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local = AddressOf(fromIP, 0);
    if (::bind(m_data, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0)
        throw PeerError("cannot bind the data connection to " + fromIP);
    sockaddr_in target = AddressOf(m_portHost, m_portNumber);
    if (::connect(m_data, reinterpret_cast<sockaddr *>(&target), sizeof target) != 0)
        throw PeerError("cannot connect back to the PORT address");
}

void PeerSession::DataSend(const std::string &bytes) { SendAll(m_data, bytes); }

std::string PeerSession::DataReceiveAll()
{
    std::string all;
    char block[65536];
    while (true) {
        if (!WaitReadable(m_data, kWaitMs))
            throw PeerError("the client kept the data connection open");
        ssize_t n = ::recv(m_data, block, sizeof block, 0);
        if (n <= 0)
            return all;
        all.append(block, static_cast<std::size_t>(n));
    }
}

void PeerSession::CloseData()
{
    if (m_data >= 0)
        ::close(m_data);
    m_data = -1;
}

void PeerSession::CloseControl()
{
    if (m_control >= 0)
        ::close(m_control);
    m_control = -1;
}

ScriptedPeer::ScriptedPeer(Script script)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = AddressOf("127.0.0.1", 0);
    socklen_t length = sizeof a;
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(m_listener, 4) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&a), &length) != 0)
        throw PeerError("cannot listen on 127.0.0.1");
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this, script = std::move(script)] { Run(script); });
}

ScriptedPeer::~ScriptedPeer()
{
    Finish();
    ::close(m_listener);
}

std::string ScriptedPeer::Address() const { return "127.0.0.1:" + std::to_string(m_port); }

void ScriptedPeer::Run(Script script)
{
    try {
        if (!WaitReadable(m_listener, kWaitMs))
            throw PeerError("the client never connected");
        int control = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (control < 0)
            throw PeerError("accept failed");
        // Replies go out at once: two in a row must not wait for an ACK.
        int on = 1;
        ::setsockopt(control, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        PeerSession session(*this, control);
        try {
            script(session);
        } catch (...) {
            session.CloseData();
            session.CloseControl();
            throw;
        }
        session.CloseData();
        session.CloseControl();
    } catch (const std::exception &e) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_failure = e.what();
    }
}

void ScriptedPeer::Record(const std::string &line)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_lines.push_back(line);
}

void ScriptedPeer::Finish()
{
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<std::string> ScriptedPeer::Lines()
{
    Finish();
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lines;
}

std::string ScriptedPeer::Failure()
{
    Finish();
    std::lock_guard<std::mutex> lock(m_lock);
    return m_failure;
}

} // namespace hoofer::test

namespace hoofer::test {

std::string AddressNobodyListensOn()
{
    // Taken from a peer that has come and gone; one knock ends its wait for
    // a client at once.
    ScriptedPeer gone([](PeerSession &) {});
    const int knock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in a = AddressOf("127.0.0.1", gone.Port());
    (void)::connect(knock, reinterpret_cast<const sockaddr *>(&a), sizeof a);
    ::close(knock);
    return gone.Address();
}

} // namespace hoofer::test
