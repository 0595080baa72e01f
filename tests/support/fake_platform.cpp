#include "fake_platform.h"

#include <QCoreApplication>

#include <algorithm>

namespace hoofer::test {

struct FakePlatform::Entry {
    std::function<void()> onTick;
    bool active = false;
    int interval = 0;
    long long deadline = 0;
};

class FakeTimer : public toolkit::TimerBackend {
public:
    FakeTimer(FakePlatform &platform, std::function<void()> onTick) : m_platform(platform)
    {
        m_entry.onTick = std::move(onTick);
        m_platform.m_timers.push_back(&m_entry);
    }
    ~FakeTimer() override { std::erase(m_platform.m_timers, &m_entry); }
    void Start(int intervalMs) override
    {
        m_entry.active = true;
        m_entry.interval = intervalMs;
        m_entry.deadline = m_platform.m_now + intervalMs;
    }
    void Stop() override { m_entry.active = false; }
    bool Active() const override { return m_entry.active; }

private:
    FakePlatform &m_platform;
    FakePlatform::Entry m_entry;
};

void FakePlatform::ProcessMessages()
{
    ++messageRounds;
    QCoreApplication::processEvents();
    FireDueTimers();
    if (onMessages)
        onMessages();
}

void FakePlatform::Sleep(int ms)
{
    sleeps.push_back(ms);
    m_now += ms;
}

std::unique_ptr<toolkit::TimerBackend> FakePlatform::CreateTimer(std::function<void()> onTick)
{
    return std::make_unique<FakeTimer>(*this, std::move(onTick));
}

void FakePlatform::Advance(long long ms)
{
    m_now += ms;
    FireDueTimers();
}

void FakePlatform::FireDueTimers()
{
    // A tick may stop or restart timers; take the due ones first.
    std::vector<Entry *> due;
    for (Entry *e : m_timers)
        if (e->active && e->deadline <= m_now)
            due.push_back(e);
    for (Entry *e : due) {
        if (std::find(m_timers.begin(), m_timers.end(), e) == m_timers.end() || !e->active)
            continue;
        e->deadline = m_now + std::max(1, e->interval);
        e->onTick();
    }
}

} // namespace hoofer::test
