#pragma once

// The main of a benchmark program whose cases need Qt's widgets: the
// application on the offscreen platform, numbers in the C locale and rule
// faults that fail instead of ending, as in the program. `finish`, when
// given, runs after the benchmarks while the application still exists: it
// frees the widgets that a benchmark keeps from one run to the next.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <clocale>

#include "analyse/rules/rule_file.h"

inline int vx_qt_benchmark_main(int argc, char** argv, void (*finish)() = nullptr)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    set_rule_faults_fatal(false);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (finish != nullptr)
        finish();
    return 0;
}
