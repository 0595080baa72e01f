#pragma once
// A stand-in FTP server for the protocol tests: listens on 127.0.0.1 (a port
// the system picks), takes one control connection and runs a script on its
// own thread. The script reads the client's lines, answers as it likes, can
// connect back to the PORT address announced, send or swallow data and close
// at any point. Every wait is bounded, so a script never hangs a test.

#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace hoofer::test {

/// A script step that did not get what it waited for.
struct PeerError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ScriptedPeer;

/// The script's side of the conversation.
class PeerSession {
public:
    /// The next line from the client (CR LF removed), recorded in Lines().
    /// Raises PeerError when the client closes or nothing comes in time.
    std::string ReadLine();
    /// Waits until the client closes the control connection, recording the
    /// lines on the way. False if it stays open past timeoutMs.
    bool WaitForClose(int timeoutMs = 3000);
    /// Sends text as it is / as one line ended by CR LF.
    void Send(const std::string &raw);
    void Reply(const std::string &line) { Send(line + "\r\n"); }
    /// Reads one command and answers it.
    void Answer(const std::string &reply)
    {
        ReadLine();
        Reply(reply);
    }
    /// Greeting 220, 331 to "user", 230 to "pass", 200 to "type", 215 to "syst".
    void Login();
    /// The opening of a transfer: 200 to PORT, reads the command, answers
    /// 150 and connects back.
    void OpenData();
    /// Connects to the address of the latest PORT line, from fromIP.
    void ConnectBack(const std::string &fromIP = "127.0.0.1");
    void DataSend(const std::string &bytes);
    /// Everything the client sends on the data connection until it closes it.
    std::string DataReceiveAll();
    void CloseData();
    void CloseControl();

private:
    friend class ScriptedPeer;
    PeerSession(ScriptedPeer &peer, int control) : m_peer(peer), m_control(control) {}
    /// False when the client closed.
    bool ReadLineWithin(int timeoutMs, std::string &line);

    ScriptedPeer &m_peer;
    int m_control;
    int m_data = -1;
    std::string m_buffer, m_portHost;
    int m_portNumber = 0;
};

/// "127.0.0.1:port" of a port that was just free and has nobody listening.
std::string AddressNobodyListensOn();

class ScriptedPeer {
public:
    using Script = std::function<void(PeerSession &)>;
    explicit ScriptedPeer(Script script);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer &) = delete;
    ScriptedPeer &operator=(const ScriptedPeer &) = delete;

    int Port() const { return m_port; }
    /// "127.0.0.1:port", a Host for the client.
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    /// Wait for the script to end (it does within its time limits), then
    /// give the lines the client sent / what went wrong ("" when nothing).
    std::vector<std::string> Lines();
    std::string Failure();

private:
    friend class PeerSession;
    void Record(const std::string &line);

    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_lock;
    std::vector<std::string> m_lines;
    std::string m_failure;
};

} // namespace hoofer::test
