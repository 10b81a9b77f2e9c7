#pragma once
// Runs the tovana program on a test analysis (the command-line tests).
#include "support/ComponentTestSupport.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace tov::test {

// Runs tovana on the world's data root with the arguments; its exit code,
// with its standard and error output.
inline int RunTovana(const TestWorld& world, const std::string& arguments, std::string& output, std::string& errors) {
  world.Publish();
  const std::string outFile = world.Root() + "/stdout.txt";
  const std::string errFile = world.Root() + "/stderr.txt";
  const std::string command = std::string("'") + TOVANA_BINARY_ROOT + "/host/app/tovana' --data-root '" +
                              world.DataRoot() + "' " + arguments + " > '" + outFile + "' 2> '" + errFile + "'";
  const int status = std::system(command.c_str());
  output = ReadTextFile(outFile);
  errors = ReadTextFile(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The test data set with the methods that need no data of their own beyond
// "Regions": selected shapes, the whole layer and a ring, beside the extent.
inline TestWorldOptions AllMethodsOptions() {
  TestWorldOptions options;
  options.extraMethods = R"(
    { "name": "SetupStudyArea.SelectedShapes", "caption": "Selected shapes on the map",
      "properties": { "MainLayer": "Regions" }, "layers": [], "children": [] },
    { "name": "SetupStudyArea.UseWhole", "caption": "All the regions",
      "properties": { "MainLayer": "Regions" }, "layers": [], "children": [] },
    { "name": "SetupStudyArea.SimpleRing", "caption": "A ring around a site",
      "properties": { "MainLayer": "Regions" }, "layers": [], "children": [] })";
  return options;
}

class CommandLineFixture : public ::testing::Test {
protected:
  CommandLineFixture() = default;
  explicit CommandLineFixture(const TestWorldOptions& options) : world(options) {}

  // Runs tovana on the test analysis; returns its exit code, with its
  // standard output in `output` and its error output in `errors`.
  int Tovana(const std::string& arguments) {
    return TovanaWith("--analysis '" + world.AnalysisFolder() + "' --dataset Test " + arguments);
  }

  // Runs tovana on the test data with only the arguments given.
  int TovanaWith(const std::string& arguments) { return RunTovana(world, arguments, output, errors); }

  // The saved map document.
  nlohmann::json Document() const { return nlohmann::json::parse(world.DocumentText()); }

  // The top-level layers of the saved focus map.
  nlohmann::json FocusLayers() const {
    const nlohmann::json document = Document();
    return document.at("maps").at(document.at("focusMap").get<int>()).at("layers");
  }

  TestWorld world;
  std::string output;
  std::string errors;
};

} // namespace tov::test
