#pragma once
// The program itself, run as a user runs it: on a test world, on the built
// sample data set, or several at once.
#include "SampleDataset.h"
#include "TestWorld.h"

namespace tov::test {

// One run of the program: exit code (-1 when it did not exit normally), output and errors.
struct ProgramRun {
  int exitCode = -1;
  std::string output, errors;
};

// Runs the tovana built with the tests (arguments as a shell reads them);
// output and errors pass through files in `scratch` named after `tag`.
// `environment` holds shell assignments (NAME=value ...) for this run.
ProgramRun RunProgram(const std::string& arguments, const std::string& scratch, const std::string& tag = "run",
                      const std::string& environment = "");

// Runs tovana on the world's analysis (or another) with the data set "Test".
ProgramRun RunTovana(const TestWorld& world, const std::string& arguments, const std::string& tag = "run");
ProgramRun RunTovanaOn(const TestWorld& world, const std::string& analysis, const std::string& arguments,
                       const std::string& tag = "run");
// Runs them all at the same moment and waits for every one.
std::vector<ProgramRun> RunTovanaAtOnce(const TestWorld& world, const std::vector<std::string>& arguments);

// Whether the sample data set (SampleDataset.h) is there.
bool SampleDataBuilt();

} // namespace tov::test

// In a test body: skip when the sample data set was not built.
#define TOV_REQUIRE_SAMPLE_DATA()                                                                        \
  do {                                                                                                  \
    if (!::tov::test::SampleDataBuilt()) GTEST_SKIP() << "the sample data set is not built (make data)"; \
  } while (0)
