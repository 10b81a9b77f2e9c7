#pragma once
#include "GisBuilders.h"
#include "TempFolder.h"
#include "host/forms/ScriptedPresenter.h"
#include "host/framework/Analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tov::test {

// What a test data set holds beyond the reference layer "Regions" and the
// current-extent method.
struct TestWorldOptions {
  // The "Projection.ResultantDefault" node's properties as JSON ("" leaves
  // the "Projections" node out).
  std::string projection = R"({"Type": "Projected", "ID": "5070"})";
  // More entries of the data set's "layers" list, comma-separated JSON
  // objects (their feature classes are the test's to write into
  // DatasetFolder() + "/test.gpkg").
  std::string extraLayers;
  // More children of the "SetupStudyArea" descriptor, comma-separated JSON
  // objects such as { "name": "SetupStudyArea.UseWhole", "caption": "...",
  // "properties": {...}, "layers": [], "children": [] }.
  std::string extraMethods;
};

// A temporary folder holding a data root with one small data set "Test"
// (reference layer "Regions" around New York, the current-extent method) and
// room for analyses. Removed afterwards.
//
// In the database run (PostgisRun()) the data set's layers are tables of a
// schema of the world's own in the test cluster: before each use (Open, a
// command line run) whatever the test wrote into test.gpkg since is copied
// there and the description names the schema instead of the GeoPackage. The
// schema is dropped with the world.
class TestWorld {
public:
  explicit TestWorld(const std::string& projection = R"({"Type": "Projected", "ID": "5070"})");
  explicit TestWorld(const TestWorldOptions& options);
  ~TestWorld();
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  // In the database run: copies the GeoPackage's tables into the world's
  // schema when they changed and describes the data set by it. Else nothing.
  void Publish() const;
  // The world's schema in the database run ("" otherwise).
  const std::string& Schema() const { return m_schema; }

  const std::string& Root() const { return m_folder.Path(); } // native
  std::string DataRoot() const { return Root() + "/data"; }    // native
  std::string DatasetFolder() const { return DataRoot() + "/Test"; }
  std::string AnalysisFolder() const { return Root() + "/analysis"; }
  // Opens (or creates) the analysis in that folder on the test data set.
  AnalysisPtr Open() const;

private:
  tov::testing::TempFolder m_folder;
  std::string m_schema;
  mutable std::string m_published; // what the GeoPackage was when last copied
};

// Installs a scripted presenter with the turns given (JSON) and returns it.
ScriptedPresenterPtr UseScript(const std::string& json);

// The turn that types a name on the name page and presses Next.
std::string NameTurn(const std::string& name);

std::string ReadTextFile(const std::string& nativePath);

// Puts a line layer of that name into the focus map and saves the document.
// A study area given the same name then fails in the store's outline pass
// (a line layer has no fill symbol), after its record was added: the one
// store failure a test can cause from outside the process.
void AddLineLayerNamed(const Analysis& analysis, const std::string& name);

} // namespace tov::test
