#pragma once
// A server program started by a test (the player simulator), whose standard
// output the test reads line by line. The program must print "listening on
// ADDRESS:PORT" first. It is stopped when the object goes; every wait is bounded.

#include "test_routine.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

namespace hoofer::test {

class ServerProcess {
public:
    /// Runs /usr/bin/python3 with arguments (the script first).
    explicit ServerProcess(const std::vector<std::string> &arguments)
    {
        QStringList all{"-u"};
        for (const std::string &a : arguments)
            all << QString::fromStdString(a);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start("/usr/bin/python3", all);
        const QDeadlineTimer deadline(10000);
        while (m_lines.empty() && ReadSome(static_cast<int>(deadline.remainingTime()))) {
        }
        if (!m_lines.empty() && m_lines[0].starts_with("listening on "))
            m_port = std::stoi(m_lines[0].substr(m_lines[0].rfind(':') + 1));
    }
    ~ServerProcess()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }

    /// 0 when the program did not say where it listens within its start-up time.
    int Port() const { return m_port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }
    /// Reads output until a line equal to line arrives; false after timeoutMs.
    bool WaitForLine(const std::string &line, int timeoutMs = 5000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        for (std::size_t checked = 0;; ++checked) {
            while (checked == m_lines.size())
                if (deadline.hasExpired() || !ReadSome(static_cast<int>(deadline.remainingTime())))
                    return false;
            if (m_lines[checked] == line)
                return true;
        }
    }
    /// The command lines the player simulator logged ("> " lines), with the
    /// address of every PORT line left out: it changes from run to run.
    std::vector<std::string> Commands()
    {
        while (ReadSome(0)) {
        }
        std::vector<std::string> commands;
        for (const std::string &line : m_lines)
            if (line.starts_with("> "))
                commands.push_back(line.starts_with("> PORT 127,0,0,1,") ? "PORT" : line.substr(2));
        return commands;
    }

private:
    /// Reads the whole lines that arrive within timeoutMs; false when none did.
    bool ReadSome(int timeoutMs)
    {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(std::max(timeoutMs, 0)))
            return false;
        while (m_process.canReadLine())
            m_lines.push_back(m_process.readLine().chopped(1).toStdString());
        return true;
    }

    QProcess m_process;
    int m_port = 0;
    std::vector<std::string> m_lines;
};

/// A fresh folder under the system's temporary folder, removed at the end.
class TemporaryFolder {
public:
    std::string Path() const { return m_dir.path().toStdString(); }
    std::string Read(const std::string &name) const { return FileBytes(Path() + "/" + name); }
    void Write(const std::string &name, const std::string &bytes) const { WriteBytes(Path() + "/" + name, bytes); }
    bool Exists(const std::string &name) const { return std::filesystem::exists(Path() + "/" + name); }

private:
    QTemporaryDir m_dir;
};

} // namespace hoofer::test
