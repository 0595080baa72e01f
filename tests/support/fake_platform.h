#pragma once

#include "toolkit/platform.h"

#include <functional>
#include <vector>

namespace hoofer::test {

/// The platform on virtual time: sleeps are written down and move the clock
/// on without waiting, timers fire when the clock passes their deadline at
/// the next message handling, and message handling runs Qt's pending events
/// and then whatever the test hooked in (to act in the middle of a playback
/// or a transfer).
class FakePlatform : public toolkit::Platform {
public:
    void ProcessMessages() override;
    void Sleep(int ms) override;
    std::unique_ptr<toolkit::TimerBackend> CreateTimer(std::function<void()> onTick) override;

    /// Moves the clock on and fires the timers that fall due.
    void Advance(long long ms);
    long long Now() const { return m_now; }

    std::vector<int> sleeps;
    int messageRounds = 0;
    /// Runs at every message handling, after Qt's events.
    std::function<void()> onMessages;

private:
    friend class FakeTimer;
    void FireDueTimers();
    struct Entry;
    std::vector<Entry *> m_timers;
    long long m_now = 0;
};

} // namespace hoofer::test
