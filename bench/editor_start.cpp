// The editor started exactly as src/app/main.cpp starts it, for bench/run:
//   editor_start              prints "painted NS" (CLOCK_MONOTONIC) once the
//                             main window's first paint is over, and quits
//   editor_start memory FILE  prints "started KIB" once the window has
//                             painted and settled, loads FILE through
//                             File > Load, then prints "loaded KIB"
//   editor_start idle FILE    loads FILE, then prints "quiet NS", the CPU
//                             time of 2 s of the event loop left alone, and
//                             "requested NS", the CPU time of the 2 s after a
//                             repaint request the program did not cause (an
//                             update() of the preview)
#include "bench_support.h"

#include "app/hoofer_window.h"
#include "settings/settings.h"
#include "toolkit/menu.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

using namespace hoofer;

int main(int argc, char *argv[])
{
    const bool memory = argc == 3 && std::strcmp(argv[1], "memory") == 0;
    const bool idle = argc == 3 && std::strcmp(argv[1], "idle") == 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName("HooferEdit");
    hoofer::toolkit::SetApplicationTitle("HooferEdit");
    hoofer::toolkit::QtPlatform platform;
    const std::string settingsPath =
        hoofer::SettingsPathForExecutable(QCoreApplication::applicationFilePath().toStdString());
    bench::QuietDialogs quiet;
    int result = 0;
    {
        // Without a routine to load, the window keeps its own Qt dialogs,
        // as in the program.
        hoofer::TfrmHoofer frmHoofer(platform, memory || idle ? &quiet : nullptr, settingsPath);
        bench::AfterFirstPaint(frmHoofer, [&] {
            if (idle) {
                quiet.openAnswer = argv[2];
                frmHoofer.mnuFileLoad->Click();
                bench::SettleEvents(300);
                const long long before = bench::ProcessCpuNs();
                bench::SettleEvents(2000);
                const long long quietNs = bench::ProcessCpuNs() - before;
                const long long requested = bench::ProcessCpuNs();
                frmHoofer.Image->update();
                bench::SettleEvents(2000);
                std::printf("quiet %lld\nrequested %lld\n", quietNs, bench::ProcessCpuNs() - requested);
                std::printf("moves %zu\nframe %d\n", frmHoofer.Core.Moves().size(), frmHoofer.Core.CurrentFrame() ? 1 : 0);
                std::fflush(stdout);
                QApplication::quit();
                return;
            }
            if (!memory) {
                std::printf("painted %lld\n", bench::MonotonicNs());
                std::fflush(stdout);
                QApplication::quit();
                return;
            }
            bench::SettleEvents(300);
            std::printf("started %ld\n", bench::ResidentKiB());
            quiet.openAnswer = argv[2];
            frmHoofer.mnuFileLoad->Click();
            bench::SettleEvents(300);
            std::printf("loaded %ld\n", bench::ResidentKiB());
            std::printf("moves %zu\n", frmHoofer.Core.Moves().size());
            std::fflush(stdout);
            QApplication::quit();
        });
        frmHoofer.show();
        result = app.exec();
    }
    return quiet.messages ? 1 : result;
}
