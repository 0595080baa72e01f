#pragma once
// A stand-in FTP server for the protocol tests: listens on 127.0.0.1 (a port
// the system picks), takes one control connection and runs a script on its
// own thread. Every wait is bounded, so a script never hangs a test.

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

/// The script's side of the conversation.
class PeerSession {
public:
    /// The next line from the client (CR LF removed), recorded for Lines().
    /// Raises PeerError when the client closes or nothing comes in time.
    std::string ReadLine();
    /// Reads lines until the client closes; false if it stays open past timeoutMs.
    bool WaitForClose(int timeoutMs = 3000);
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
    /// 200 to PORT, 150 to the transfer command, then the connect-back.
    void OpenData();
    /// Connects from fromIP to the address of the latest PORT line.
    void ConnectBack(const std::string &fromIP = "127.0.0.1");
    void DataSend(const std::string &bytes);
    /// Everything the client sends on the data connection until it closes it.
    std::string DataReceiveAll();
    void CloseData();
    void CloseControl();

private:
    friend class ScriptedPeer;
    PeerSession(std::function<void(const std::string &)> record, int control)
        : m_record(std::move(record)), m_control(control)
    {
    }

    std::function<void(const std::string &)> m_record;
    int m_control, m_data = -1, m_waitMs = 3000, m_portNumber = 0;
    bool m_closed = false;
    std::string m_buffer, m_portHost;
};

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
    /// Waits for the script to end (it does within its time limits), then
    /// gives the lines the client sent / what went wrong ("" when nothing).
    std::vector<std::string> Lines();
    std::string Failure();

private:
    int m_listener = -1, m_port = 0;
    std::thread m_thread;
    std::mutex m_lock;
    std::vector<std::string> m_lines;
    std::string m_failure;
};

/// "127.0.0.1:port" of a port that was just free and has nobody listening.
std::string AddressNobodyListensOn();

} // namespace hoofer::test
