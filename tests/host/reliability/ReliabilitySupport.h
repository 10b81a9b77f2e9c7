#pragma once
#include "support/ComponentTestSupport.h"

#include <nlohmann/json.hpp>

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
// The same on the analysis in another folder.
ProgramRun RunTovanaOn(const TestWorld& world, const std::string& analysisFolder, const std::string& arguments,
                       const std::string& tag = "run");

// Runs them all at the same moment and waits for every one.
std::vector<ProgramRun> RunTovanaAtOnce(const TestWorld& world, const std::vector<std::string>& arguments);

// The map document as saved.
nlohmann::json ReadDocument(const TestWorld& world);

// Names of the feature layers of the saved document, at any depth.
std::vector<std::string> DocumentLayerNames(const TestWorld& world);

// What disagrees between the catalogue, the StudyAreas folders, the layer
// files and datasets and the document: one line each, none when consistent.
// Opens the analysis in this process.
std::vector<std::string> Inconsistencies(const TestWorld& world);

} // namespace tov::test
