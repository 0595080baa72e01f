#include "bench_support.h"

#include "model/routine_codec.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>

namespace hoofer::bench {

namespace {
THFFrame BenchFrame(int m, int f)
{
    THFFrame frame;
    for (int p = 1; p <= kPartCount; ++p)
        frame.Point(p) = {(20 + m * 5 + f * 3 + p * 17) % 236 + 10, (30 + m * 3 + f * 7 + p * 11) % 236 + 10};
    frame.Interpolation = f % 6;
    frame.Displacement = f % 5 - 2;
    return frame;
}
} // namespace

std::string RoutineImage(int moves, int frames)
{
    TMoveList list;
    for (int m = 0; m < moves; ++m) {
        auto move = std::make_unique<THFMove>();
        move->MoveName = "Bench" + std::to_string(m);
        for (int f = 0; f < frames; ++f) {
            auto frame = std::make_unique<THFFrame>();
            CopyFramePose(BenchFrame(m, f), *frame);
            move->Frames.push_back(std::move(frame));
        }
        move->SyncFrameCount();
        list.push_back(std::move(move));
    }
    return EncodeRoutine(list);
}

std::string SingleMoveImage(const std::vector<int> &interpolations)
{
    TMoveList list;
    auto move = std::make_unique<THFMove>();
    move->MoveName = "Pacing";
    for (size_t f = 0; f < interpolations.size(); ++f) {
        auto frame = std::make_unique<THFFrame>();
        CopyFramePose(BenchFrame(0, static_cast<int>(f)), *frame);
        frame->Interpolation = interpolations[f];
        frame->Displacement = 1;
        move->Frames.push_back(std::move(frame));
    }
    move->SyncFrameCount();
    list.push_back(std::move(move));
    return EncodeRoutine(list);
}

bool WriteFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

long ResidentKiB()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1)
            break;
    std::fclose(status);
    return kib;
}

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long long ProcessCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool QuietDialogs::Confirm(const std::string &text)
{
    ++messages;
    std::cerr << "confirm: " << text << "\n";
    return false;
}

void QuietDialogs::Error(const std::string &text)
{
    ++messages;
    std::cerr << "error: " << text << "\n";
}

void QuietDialogs::ShowException(const std::string &text)
{
    ++messages;
    std::cerr << "exception: " << text << "\n";
}

std::optional<std::string> QuietDialogs::OpenFile(const toolkit::FileDialogSpec &)
{
    return openAnswer;
}

std::optional<std::string> QuietDialogs::SaveFile(const toolkit::FileDialogSpec &)
{
    return saveAnswer;
}

int QuietDialogs::ShowModal(toolkit::StringEntry &)
{
    return 2;
}

namespace {
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget &widget, std::function<void()> then)
        : QObject(&widget), m_then(std::move(then))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued: it runs once the paint under way, children included,
            // has ended.
            QMetaObject::invokeMethod(this, m_then, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_then;
    bool m_seen = false;
};
} // namespace

void AfterFirstPaint(QWidget &widget, std::function<void()> then)
{
    new FirstPaintWatch(widget, std::move(then));
}

void SettleEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int RunBenchmarks(int argc, char **argv, const std::function<bool()> &ready)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv) || !ready())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace hoofer::bench
