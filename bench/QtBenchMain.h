#pragma once

namespace tov::bench {

// main() of a benchmark program that draws through Qt: the application lives
// in main, because one kept in a static ends after Qt's own statics and
// crashes the program on its way out. beforeExit runs while it still lives.
int RunQtBenchmarks(int argc, char** argv, void (*beforeExit)() = nullptr);

} // namespace tov::bench
