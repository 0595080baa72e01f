#include "toolkit/signal_notifier.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace hoofer::toolkit {

namespace {

// Where the handler writes: set before the first handler is installed and
// cleared only after the last one is removed.
volatile sig_atomic_t g_writeEnd = -1;

void WriteSignalNumber(int signalNumber)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe drops the byte: the ones already in it end the session anyway.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

SignalNotifier::SignalNotifier(std::initializer_list<int> signalNumbers)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("no pipe for the signals");
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    g_writeEnd = m_writeEnd;
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ReadPipe(); });
    for (const int number : signalNumbers) {
        struct sigaction old = {};
        if (::sigaction(number, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = WriteSignalNumber;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(number, &action, &old) == 0)
            m_oldActions.emplace_back(number, old);
    }
}

SignalNotifier::~SignalNotifier()
{
    for (const auto &[number, old] : m_oldActions)
        ::sigaction(number, &old, nullptr);
    g_writeEnd = -1;
    m_notifier.reset();
    ::close(m_readEnd);
    ::close(m_writeEnd);
}

void SignalNotifier::ReadPipe()
{
    unsigned char bytes[16];
    const ssize_t count = ::read(m_readEnd, bytes, sizeof bytes);
    for (ssize_t i = 0; i < count; ++i)
        if (OnSignal)
            OnSignal(bytes[i]);
}

void SignalNotifier::EndBySignal(int signalNumber)
{
    std::signal(signalNumber, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signalNumber);
    // A signal whose default is not to end the process still ends it.
    std::_Exit(128 + signalNumber);
}

} // namespace hoofer::toolkit
