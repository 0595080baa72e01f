#include "server_process.h"

#include <QDeadlineTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace hoofer::test {

ServerProcess::ServerProcess(const std::vector<std::string> &arguments)
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

ServerProcess::~ServerProcess()
{
    m_process.kill();
    m_process.waitForFinished(3000);
}

bool ServerProcess::ReadSome(int timeoutMs)
{
    if (!m_process.canReadLine() && !m_process.waitForReadyRead(std::max(timeoutMs, 0)))
        return false;
    while (m_process.canReadLine())
        m_lines.push_back(m_process.readLine().chopped(1).toStdString());
    return true;
}

bool ServerProcess::WaitForLine(const std::string &line, int timeoutMs)
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

std::vector<std::string> ServerProcess::Commands()
{
    while (ReadSome(0)) {
    }
    std::vector<std::string> commands;
    for (const std::string &line : m_lines)
        if (line.starts_with("> "))
            commands.push_back(line.starts_with("> PORT 127,0,0,1,") ? "PORT" : line.substr(2));
    return commands;
}

std::string TemporaryFolder::Read(const std::string &name) const
{
    std::ifstream in(Path() + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TemporaryFolder::Write(const std::string &name, const std::string &bytes) const
{
    std::ofstream(Path() + "/" + name, std::ios::binary) << bytes;
}

bool TemporaryFolder::Exists(const std::string &name) const { return std::filesystem::exists(Path() + "/" + name); }

} // namespace hoofer::test
