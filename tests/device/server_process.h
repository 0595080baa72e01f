#pragma once
// A server program started by a test (the player simulator), whose standard
// output the test reads line by line. The program must print "listening on
// ADDRESS:PORT" first. It is stopped when the object goes; every wait is bounded.

#include <QProcess>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace hoofer::test {

class ServerProcess {
public:
    /// Runs /usr/bin/python3 with arguments (the script first).
    explicit ServerProcess(const std::vector<std::string> &arguments);
    ~ServerProcess();

    /// 0 when the program did not say where it listens within its start-up time.
    int Port() const { return m_port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    /// Reads output until a line equal to line arrives; false after timeoutMs.
    bool WaitForLine(const std::string &line, int timeoutMs = 5000);
    /// The command lines the player simulator logged ("> " lines), with the
    /// address of every PORT line left out: it changes from run to run.
    std::vector<std::string> Commands();

private:
    /// Reads the whole lines that arrive within timeoutMs; false when none did.
    bool ReadSome(int timeoutMs);

    QProcess m_process;
    int m_port = 0;
    std::vector<std::string> m_lines;
};

/// A fresh folder under the system's temporary folder, removed at the end.
class TemporaryFolder {
public:
    std::string Path() const { return m_dir.path().toStdString(); }
    std::string Read(const std::string &name) const;
    void Write(const std::string &name, const std::string &bytes) const;
    bool Exists(const std::string &name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace hoofer::test
