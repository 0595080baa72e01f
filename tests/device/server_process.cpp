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
#include <sstream>
#include <stdexcept>
#include <thread>

extern char **environ;

namespace hoofer::test {

namespace {
constexpr int kStartUpMs = 10000;
constexpr const char *kListening = "listening on ";
} // namespace

ServerProcess::ServerProcess(const std::vector<std::string> &arguments)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> all{"/usr/bin/python3", "-u"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    pid_t pid = -1;
    int status = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    m_output = pipeEnds[0];
    if (status != 0) {
        ::close(m_output);
        throw std::runtime_error("cannot start /usr/bin/python3");
    }
    m_pid = pid;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartUpMs);
    while (m_lines.empty()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count())))
            return;
    }
    const std::string &first = m_lines.front();
    const std::size_t colon = first.rfind(':');
    if (first.rfind(kListening, 0) == 0 && colon != std::string::npos)
        m_port = std::atoi(first.c_str() + colon + 1);
}

ServerProcess::~ServerProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 300 && !ended; ++i) { // at most 3 s
            ended = ::waitpid(m_pid, &status, WNOHANG) == m_pid;
            if (!ended)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
        }
    }
    if (m_output >= 0)
        ::close(m_output);
}

bool ServerProcess::ReadSome(int timeoutMs)
{
    pollfd p{m_output, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&p, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    char block[4096];
    ssize_t n = ::read(m_output, block, sizeof block);
    if (n <= 0)
        return false;
    m_partial.append(block, static_cast<std::size_t>(n));
    std::size_t end;
    while ((end = m_partial.find('\n')) != std::string::npos) {
        m_lines.push_back(m_partial.substr(0, end));
        m_partial.erase(0, end + 1);
    }
    return true;
}

bool ServerProcess::WaitForLine(const std::string &line, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t checked = 0;
    while (true) {
        for (; checked < m_lines.size(); ++checked)
            if (m_lines[checked] == line)
                return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count())))
            return false;
    }
}

std::vector<std::string> ServerProcess::Lines()
{
    while (ReadSome(0)) {
    }
    return m_lines;
}

std::vector<std::string> ServerProcess::Commands()
{
    std::vector<std::string> commands;
    for (const std::string &line : Lines())
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
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TemporaryFolder::Write(const std::string &name, const std::string &bytes) const
{
    std::ofstream(m_path + "/" + name, std::ios::binary) << bytes;
}

bool TemporaryFolder::Exists(const std::string &name) const { return std::filesystem::exists(m_path + "/" + name); }

} // namespace hoofer::test
