#pragma once
// The program itself run on a test world, one at a time or several at once:
// what the tests of crashes, concurrency and shared analyses watch from
// outside the process.
#include "support/ComponentTestSupport.h"

#include <string>
#include <vector>

namespace tov::test {

// One run of the program: exit code (-1 when it did not exit normally), output and errors.
struct ProgramRun {
  int exitCode = -1;
  std::string output, errors;
};

// Runs tovana on the world's analysis with the data set "Test"; `tag` names
// the files its output goes to, so that several can run at once.
ProgramRun RunTovana(const TestWorld& world, const std::string& arguments, const std::string& tag = "run");
// The same with another --analysis value (a folder or a shared location).
ProgramRun RunTovanaOn(const TestWorld& world, const std::string& analysis, const std::string& arguments,
                       const std::string& tag = "run");

// Runs them all at the same moment and waits for every one.
std::vector<ProgramRun> RunTovanaAtOnce(const TestWorld& world, const std::vector<std::string>& arguments);

} // namespace tov::test
