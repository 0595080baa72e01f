#include "platform.h"

#include "guard.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

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
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

std::unique_ptr<TimerBackend> QtPlatform::CreateTimer(std::function<void()> onTick)
{
    return std::make_unique<QtTimerBackend>(std::move(onTick));
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
