// The editor started exactly as src/app/main.cpp starts it, for bench/run:
//   editor_start              prints "painted NS" (CLOCK_MONOTONIC) once the
//                             main window's first paint is over, and quits
//   editor_start memory FILE  prints "started KIB" once the window has
//                             painted and settled, loads FILE through
//                             File > Load, then prints "loaded KIB"
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
    QApplication app(argc, argv);
    QApplication::setApplicationName("HooferEdit");
    QApplication::setApplicationDisplayName("HooferEdit");
    hoofer::toolkit::QtPlatform platform;
    const std::string settingsPath =
        hoofer::SettingsPathForExecutable(QCoreApplication::applicationFilePath().toStdString());
    bench::QuietDialogs quiet;
    int result = 0;
    {
        // Without a routine to load, the window keeps its own Qt dialogs,
        // as in the program.
        hoofer::TfrmHoofer frmHoofer(platform, memory ? &quiet : nullptr, settingsPath);
        bench::AfterFirstPaint(frmHoofer, [&] {
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
            std::printf("moves %zu\n", frmHoofer.Moves.size());
            std::fflush(stdout);
            QApplication::quit();
        });
        frmHoofer.show();
        result = app.exec();
    }
    return quiet.messages ? 1 : result;
}
