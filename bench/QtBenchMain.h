// The main of a benchmark that needs a QApplication: offscreen unless a platform is named.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

inline int RunQtBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
