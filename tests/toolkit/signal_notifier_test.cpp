// Real signals raised in this process reach the event loop through the
// notifier, and the handlers before it come back when it goes.
#include "toolkit/signal_notifier.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <unistd.h>

using hoofer::toolkit::SignalNotifier;

namespace {
int g_earlierHandlerRuns = 0;
void EarlierHandler(int) { ++g_earlierHandlerRuns; }
} // namespace

TEST(SignalNotifier, RaisedSignalsArriveInTheLoopAndTheEarlierHandlersComeBack)
{
    std::signal(SIGTERM, EarlierHandler);
    std::signal(SIGHUP, SIG_IGN);  // as nohup leaves it
    std::vector<int> seen;
    {
        SignalNotifier notifier({SIGTERM, SIGHUP, SIGINT});
        notifier.OnSignal = [&](int number) { seen.push_back(number); };
        std::raise(SIGINT);
        ::kill(::getpid(), SIGTERM);
        std::raise(SIGHUP);
        EXPECT_TRUE(seen.empty()) << "nothing is called from the handler itself";
        QElapsedTimer clock;
        clock.start();
        while (seen.size() < 2 && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();
        EXPECT_EQ(seen, (std::vector<int>{SIGINT, SIGTERM})) << "an ignored signal stays ignored";
        EXPECT_EQ(g_earlierHandlerRuns, 0);
    }
    std::raise(SIGTERM);
    EXPECT_EQ(g_earlierHandlerRuns, 1);
    struct sigaction now = {};
    ::sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    ::sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}
