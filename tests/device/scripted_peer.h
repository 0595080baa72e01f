#pragma once
// A stand-in FTP server for the protocol tests: listens on 127.0.0.1 (a port
// the system picks), takes one control connection and runs a script on its
// own thread. Every wait is bounded, so a script never hangs a test.

#include <netinet/in.h>

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

/// A socket bound on 127.0.0.1 to a port the system picks, listening when
/// backlog >= 0, closed when it goes.
struct LoopbackSocket {
    explicit LoopbackSocket(int backlog);
    ~LoopbackSocket();
    LoopbackSocket(const LoopbackSocket &) = delete;
    std::string Address() const { return "127.0.0.1:" + std::to_string(ntohs(address.sin_port)); }
    int fd;
    sockaddr_in address{};
};

/// The script's side of the conversation.
class PeerSession {
public:
    /// The next line from the client (CR LF removed), recorded for Lines().
    /// Raises PeerError when the client closes or nothing comes within waitMs.
    std::string ReadLine(int waitMs = 3000);
    /// Reads lines until the client closes, for at most timeoutMs.
    void WaitForClose(int timeoutMs = 3000);
    void Send(const std::string &raw);
    void Reply(const std::string &line) { Send(line + "\r\n"); }
    /// Reads one command and answers it.
    void Answer(const std::string &reply)
    {
        ReadLine();
        Reply(reply);
    }
    /// Greeting 220, then 331, 230, 200 and 215 to user, pass, type and syst.
    void Login();
    /// 200 to PORT, 150 to the transfer command, then the connect-back from fromIP.
    void OpenData(const std::string &fromIP = "127.0.0.1");
    /// Connects from fromIP to the address of the latest PORT line.
    void ConnectBack(const std::string &fromIP = "127.0.0.1");
    void DataSend(const std::string &bytes);
    /// Everything the client sends on the data connection until it closes it.
    std::string DataReceiveAll();
    void CloseData();
    void CloseControl();

private:
    friend class ScriptedPeer;
    PeerSession(int control, std::vector<std::string> &lines) : m_control(control), m_lines(lines) {}
    ~PeerSession();

    int m_control, m_data = -1;
    std::vector<std::string> &m_lines;
    std::string m_buffer;
    sockaddr_in m_portAddress{};
};

class ScriptedPeer {
public:
    using Script = std::function<void(PeerSession &)>;
    explicit ScriptedPeer(Script script);
    ~ScriptedPeer() { Lines(); }

    int Port() const { return ntohs(m_listener.address.sin_port); }
    /// "127.0.0.1:port", a Host for the client.
    std::string Address() const { return m_listener.Address(); }
    /// Waits for the script to end (it does within its time limits), then
    /// gives the lines the client sent / what went wrong ("" when nothing).
    std::vector<std::string> Lines();
    std::string Failure();

private:
    LoopbackSocket m_listener{4};
    std::vector<std::string> m_lines; // written by the script's thread only until it ends
    std::string m_failure;
    std::thread m_thread; // last: it starts once the rest is in place
};

/// "127.0.0.1:port" of a port that was just free and has nobody listening.
std::string AddressNobodyListensOn();

} // namespace hoofer::test
