#pragma once

// The main of the benchmarks of GUI widgets: one QApplication on Qt's
// offscreen platform (unless another is asked for) and numbers in the C
// locale, as the program has them.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <clocale>

inline int run_gui_benchmarks(int argc, char** argv)
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
