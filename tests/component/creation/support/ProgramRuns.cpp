#include "support/ProgramRuns.h"

#include <cstdlib>
#include <sys/wait.h>
#include <thread>

namespace tov::test {

ProgramRun RunTovana(const TestWorld& world, const std::string& arguments, const std::string& tag) {
  return RunTovanaOn(world, world.AnalysisFolder(), arguments, tag);
}

ProgramRun RunTovanaOn(const TestWorld& world, const std::string& analysisFolder, const std::string& arguments,
                       const std::string& tag) {
  const std::string outFile = world.Root() + "/" + tag + ".out", errFile = world.Root() + "/" + tag + ".err";
  const std::string command = std::string("'") + TOVANA_BINARY_ROOT + "/host/app/tovana' --data-root '" +
                              world.DataRoot() + "' --analysis '" + analysisFolder + "' --dataset Test " +
                              arguments + " > '" + outFile + "' 2> '" + errFile + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = ReadTextFile(outFile);
  run.errors = ReadTextFile(errFile);
  return run;
}

std::vector<ProgramRun> RunTovanaAtOnce(const TestWorld& world, const std::vector<std::string>& arguments) {
  std::vector<ProgramRun> runs(arguments.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < arguments.size(); ++i)
    threads.emplace_back([&, i] { runs[i] = RunTovana(world, arguments[i], "run" + std::to_string(i)); });
  for (auto& t : threads) t.join();
  return runs;
}

} // namespace tov::test
