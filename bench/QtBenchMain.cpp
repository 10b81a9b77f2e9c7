#include "bench/QtBenchMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace tov::bench {

int RunQtBenchmarks(int argc, char** argv, void (*beforeExit)()) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (beforeExit) beforeExit();
  return 0;
}

} // namespace tov::bench
