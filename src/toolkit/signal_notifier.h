#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include <csignal>

class QSocketNotifier;

namespace hoofer::toolkit {

/// Turns signals such as SIGTERM into a call on the event thread, where the
/// program may write files and quit in its own time. The handler does nothing
/// but a non-blocking write of the signal's number into a pipe (the only safe
/// thing a handler can do); a socket notifier on the pipe's other end calls
/// OnSignal from the event loop. A signal that was ignored when the notifier
/// was made (nohup, a background job) stays ignored. Destroying it puts the
/// old handlers back. One notifier at a time.
class SignalNotifier {
public:
    explicit SignalNotifier(std::initializer_list<int> signalNumbers);
    SignalNotifier(const SignalNotifier &) = delete;
    SignalNotifier &operator=(const SignalNotifier &) = delete;
    ~SignalNotifier();

    /// Called from the event loop with each signal's number, in order.
    std::function<void(int)> OnSignal;

    /// Ends the process as the signal itself would have ended it, so that a
    /// shell or session manager sees the signal as the cause; never returns.
    [[noreturn]] static void EndBySignal(int signalNumber);

private:
    void ReadPipe();

    int m_readEnd = -1;
    int m_writeEnd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::vector<std::pair<int, struct sigaction>> m_oldActions;
};

} // namespace hoofer::toolkit
