#include "server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char **environ;

namespace hoofer::test {

namespace {
using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}
} // namespace

ServerProcess::ServerProcess(const std::vector<std::string> &arguments)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> all{"/usr/bin/python3", "-u"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    const int status = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    m_output = ends[0];
    if (status != 0)
        throw std::runtime_error("cannot start /usr/bin/python3");
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (m_lines.empty() && MsLeft(deadline) > 0 && ReadSome(MsLeft(deadline))) {
    }
    if (!m_lines.empty() && m_lines[0].rfind("listening on ", 0) == 0)
        m_port = std::atoi(m_lines[0].c_str() + m_lines[0].rfind(':') + 1);
}

ServerProcess::~ServerProcess()
{
    ::kill(m_pid, SIGTERM);
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 300 && !(ended = ::waitpid(m_pid, &status, WNOHANG) == m_pid); ++i) // at most 3 s
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!ended) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, &status, 0);
    }
    ::close(m_output);
}

bool ServerProcess::ReadSome(int timeoutMs)
{
    pollfd p{m_output, POLLIN, 0};
    int ready;
    while ((ready = ::poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    char block[4096];
    const ssize_t n = ready > 0 ? ::read(m_output, block, sizeof block) : 0;
    if (n <= 0)
        return false;
    m_partial.append(block, static_cast<std::size_t>(n));
    for (std::size_t end; (end = m_partial.find('\n')) != std::string::npos; m_partial.erase(0, end + 1))
        m_lines.push_back(m_partial.substr(0, end));
    return true;
}

bool ServerProcess::WaitForLine(const std::string &line, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (std::size_t checked = 0;; ++checked) {
        while (checked == m_lines.size())
            if (MsLeft(deadline) <= 0 || !ReadSome(MsLeft(deadline)))
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
        if (line.rfind("> ", 0) == 0)
            commands.push_back(line.rfind("> PORT 127,0,0,1,", 0) == 0 ? "PORT" : line.substr(2));
    return commands;
}

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "hoofer-device-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TemporaryFolder::Read(const std::string &name) const
{
    std::ifstream in(m_path + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TemporaryFolder::Write(const std::string &name, const std::string &bytes) const
{
    std::ofstream(m_path + "/" + name, std::ios::binary) << bytes;
}

bool TemporaryFolder::Exists(const std::string &name) const { return std::filesystem::exists(m_path + "/" + name); }

} // namespace hoofer::test
