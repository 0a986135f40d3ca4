#pragma once

// The main of the benchmarks of GUI widgets: one QApplication on Qt's
// offscreen platform (unless QT_QPA_PLATFORM names another), numbers in the
// C locale, then the benchmarks.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <clocale>

inline int vx_qt_benchmark_main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
