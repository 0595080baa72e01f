// A bare Qt window with a menu bar and one label, the yardstick of the
// editor's start (it pays the font set-up any window with text pays): prints
// "painted NS" (CLOCK_MONOTONIC) once the window's first paint is over, and
// quits.
#include "bench_support.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("&File")->addAction("&Load");
    window.setCentralWidget(new QLabel("Current Move"));
    hoofer::bench::AfterFirstPaint(window, [] {
        std::printf("painted %lld\n", hoofer::bench::MonotonicNs());
        std::fflush(stdout);
        QApplication::quit();
    });
    window.show();
    return app.exec();
}
