// A bare Qt program that shows one empty widget, the yardstick of the
// editor's start: prints "painted NS" (CLOCK_MONOTONIC) once the widget's
// first paint is over, and quits.
#include "bench_support.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget widget;
    hoofer::bench::AfterFirstPaint(widget, [] {
        std::printf("painted %lld\n", hoofer::bench::MonotonicNs());
        std::fflush(stdout);
        QApplication::quit();
    });
    widget.show();
    return app.exec();
}
