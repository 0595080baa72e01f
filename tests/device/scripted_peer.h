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
class PeerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptedPeer;

/// The script's side of the conversation.
class PeerSession {
public:
    /// The next line from the client (CR LF removed), recorded in Lines().
    /// Raises PeerError when the client closes or nothing comes in time.
    std::string ReadLine();
    /// Waits until the client closes the control connection. Lines arriving
    /// meanwhile are recorded. False if it stays open past timeoutMs.
    bool WaitForClose(int timeoutMs = 3000);

    /// Sends text as it is / as one line ended by CR LF.
    void Send(const std::string &raw);
    void Reply(const std::string &line) { Send(line + "\r\n"); }
    /// Reads one command and answers it.
    void Answer(const std::string &reply);
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
    /// Closes the control connection at once.
    void CloseControl();

    /// The host and port of the latest PORT line.
    std::string PortHost() const { return m_portHost; }
    int PortNumber() const { return m_portNumber; }

private:
    friend class ScriptedPeer;
    explicit PeerSession(ScriptedPeer &peer, int control) : m_peer(peer), m_control(control) {}
    bool ReadLineWithin(int timeoutMs, std::string &line);

    ScriptedPeer &m_peer;
    int m_control;
    int m_data = -1;
    std::string m_buffer;
    std::string m_portHost;
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
    std::string Address() const;

    /// Waits for the script to end (it ends by itself within its time
    /// limits) and gives the lines the client sent.
    std::vector<std::string> Lines();
    /// What went wrong in the script, empty when it ran to its end.
    std::string Failure();

private:
    friend class PeerSession;
    void Run(Script script);
    void Record(const std::string &line);
    void Finish();

    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_lock;
    std::vector<std::string> m_lines;
    std::string m_failure;
};

} // namespace hoofer::test
