#pragma once

#include <QRect>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace hoofer::toolkit {

/// A repeating timer as the platform provides it.
class TimerBackend {
public:
    virtual ~TimerBackend() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

/// The application services the window leans on: handling pending messages
/// in the middle of an operation, plain sleeps of the event thread, timers,
/// and the room the screen has for the window. The program uses QtPlatform; tests use a stand-in whose sleeps and
/// timers run on virtual time, so playback and transfers take no real time.
class Platform {
public:
    virtual ~Platform() = default;
    virtual void ProcessMessages() = 0;
    virtual void Sleep(int ms) = 0;
    virtual std::unique_ptr<TimerBackend> CreateTimer(std::function<void()> onTick) = 0;
    /// The part of the window's screen that windows may take (the screen
    /// less the desktop's panels); empty when there is no screen.
    virtual QRect AvailableArea(const QWidget &window) = 0;
};

/// The real services: QCoreApplication::processEvents, a thread sleep, QTimer,
/// the available geometry of the window's screen.
class QtPlatform : public Platform {
public:
    void ProcessMessages() override;
    void Sleep(int ms) override;
    std::unique_ptr<TimerBackend> CreateTimer(std::function<void()> onTick) override;
    QRect AvailableArea(const QWidget &window) override;

private:
    std::optional<std::chrono::steady_clock::time_point> m_lastWake;  // when the last sleep was due to end
};

/// A timer with the Enabled/Interval/OnTimer shape the window uses. Enabling
/// it (again) starts the interval afresh.
class TTimer {
public:
    explicit TTimer(Platform &platform);
    void SetInterval(int ms) { m_interval = ms; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return m_backend->Active(); }
    std::function<void()> OnTimer;

private:
    std::unique_ptr<TimerBackend> m_backend;
    int m_interval = 1000;
};

} // namespace hoofer::toolkit
