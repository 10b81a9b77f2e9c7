#include "Program.h"

#include <cstdlib>
#include <sys/wait.h>
#include <thread>

namespace tov::test {

ProgramRun RunProgram(const std::string& arguments, const std::string& scratch, const std::string& tag,
                      const std::string& environment) {
  const std::string outFile = scratch + "/" + tag + ".out", errFile = scratch + "/" + tag + ".err";
  const std::string command = environment + " '" + TOVANA_BINARY_ROOT + "/host/app/tovana' " + arguments + " > '" +
                              outFile + "' 2> '" + errFile + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = ReadTextFile(outFile);
  run.errors = ReadTextFile(errFile);
  return run;
}

ProgramRun RunTovana(const TestWorld& world, const std::string& arguments, const std::string& tag) {
  return RunTovanaOn(world, world.AnalysisFolder(), arguments, tag);
}

ProgramRun RunTovanaOn(const TestWorld& world, const std::string& analysis, const std::string& arguments,
                       const std::string& tag) {
  world.Publish();
  return RunProgram("--data-root '" + world.DataRoot() + "' --analysis '" + analysis + "' --dataset Test " + arguments,
                    world.Root(), tag);
}

std::vector<ProgramRun> RunTovanaAtOnce(const TestWorld& world, const std::vector<std::string>& arguments) {
  world.Publish();
  std::vector<ProgramRun> runs(arguments.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < arguments.size(); ++i)
    threads.emplace_back([&, i] { runs[i] = RunTovana(world, arguments[i], "run" + std::to_string(i)); });
  for (auto& t : threads) t.join();
  return runs;
}

bool SampleDataBuilt() {
  const std::filesystem::path gpkg = SampleGeoPackage();
  return !gpkg.empty() && std::filesystem::exists(gpkg);
}

} // namespace tov::test
