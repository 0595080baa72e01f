#include "platform.h"

#include "guard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QTimer>

#include <thread>

namespace hoofer::toolkit {

namespace {
class QtTimerBackend : public TimerBackend {
public:
    explicit QtTimerBackend(std::function<void()> onTick)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [tick = std::move(onTick)] { RunGuarded(tick); });
    }
    void Start(int intervalMs) override { m_timer.start(intervalMs); }
    void Stop() override { m_timer.stop(); }
    bool Active() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};
} // namespace

void QtPlatform::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::Sleep(int ms)
{
    if (ms <= 0)
        return;
    // Sleeps that follow each other closely (playback's steps, a transfer's)
    // keep their pace: each ends ms after the end the one before was due,
    // so the work between two of them, and the oversleeping of the one
    // before, come out of the pause instead of adding up. A sleep after a
    // longer pause than ms is a plain one.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    const Clock::duration pause = std::chrono::milliseconds(ms);
    const bool paced = m_lastWake && now - *m_lastWake < pause;
    const Clock::time_point wake = (paced ? *m_lastWake : now) + pause;
    std::this_thread::sleep_until(wake);
    m_lastWake = wake;
}

std::unique_ptr<TimerBackend> QtPlatform::CreateTimer(std::function<void()> onTick)
{
    return std::make_unique<QtTimerBackend>(std::move(onTick));
}

QRect QtPlatform::AvailableArea(const QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

TTimer::TTimer(Platform &platform)
    : m_backend(platform.CreateTimer([this] {
          if (OnTimer)
              OnTimer();
      }))
{
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled)
        m_backend->Start(m_interval);
    else
        m_backend->Stop();
}

} // namespace hoofer::toolkit
