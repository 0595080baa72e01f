#pragma once
// A server program started by a test (the player simulator), whose standard
// output the test reads line by line. The program must print "listening on
// ADDRESS:PORT" first. It is stopped (SIGTERM, then SIGKILL) when the object
// goes; every wait is bounded.

#include <string>
#include <vector>

namespace hoofer::test {

class ServerProcess {
public:
    /// Runs /usr/bin/python3 with arguments (the script first).
    explicit ServerProcess(const std::vector<std::string> &arguments);
    ~ServerProcess();
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    /// 0 when the program did not say where it listens within its start-up time.
    int Port() const { return m_port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    /// Reads output until a line equal to line arrives; false after timeoutMs.
    bool WaitForLine(const std::string &line, int timeoutMs = 5000);
    /// The command lines the player simulator logged ("> " lines), with the
    /// address of every PORT line left out: it changes from run to run.
    std::vector<std::string> Commands();

private:
    /// Reads what arrives within timeoutMs into m_lines; false on time-out or end.
    bool ReadSome(int timeoutMs);

    int m_pid = -1, m_output = -1, m_port = 0;
    std::string m_partial;
    std::vector<std::string> m_lines;
};

/// A fresh folder under the system's temporary folder, removed at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::string &Path() const { return m_path; }
    std::string Read(const std::string &name) const;
    void Write(const std::string &name, const std::string &bytes) const;
    bool Exists(const std::string &name) const;

private:
    std::string m_path;
};

} // namespace hoofer::test
