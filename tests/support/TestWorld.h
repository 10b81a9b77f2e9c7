#pragma once
// The test world: a small data set and an analysis on it, in a folder or,
// in the database run, shared in a schema of its own; and the scripts that
// drive the component's pages in it.
#include "Errors.h"
#include "GisBuilders.h"
#include "TempFolder.h"
#include "host/forms/ScriptedPresenter.h"
#include "host/framework/Analysis.h"

#include <gtest/gtest.h>

namespace tov::test {

namespace fs = std::filesystem;

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
// In the database run (PostgisConnection()) the world's analysis is a shared
// one, in a schema of its own, and the data set's layers are tables of
// another schema of its own: before each use (Open, a command line run)
// whatever the test wrote into test.gpkg since is copied there and the
// description names that schema instead of the GeoPackage. Both schemas are
// dropped with the world.
class TestWorld {
public:
  explicit TestWorld(const std::string& projection = R"({"Type": "Projected", "ID": "5070"})");
  explicit TestWorld(const TestWorldOptions& options);
  ~TestWorld();
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  // In the database run: copies the GeoPackage's tables into the world's
  // data set schema when they changed and describes the data set by it.
  // Else nothing.
  void Publish() const;
  // The data set's schema in the database run ("" otherwise).
  const std::string& DatasetSchema() const { return m_datasetSchema; }

  const std::string& Root() const { return m_folder.Path(); } // native
  std::string DataRoot() const { return Root() + "/data"; }    // native
  std::string DatasetFolder() const { return DataRoot() + "/Test"; }
  // The analysis folder, or the shared analysis's location (as --analysis takes it).
  std::string AnalysisFolder() const { return m_schema.empty() ? Root() + "/analysis" : m_location; }
  bool Shared() const { return !m_schema.empty(); }
  const std::string& Schema() const { return m_schema; }
  // True when the analysis was made (a folder, or the shared schema).
  bool AnalysisExists() const;
  // Opens (or creates) the analysis in that folder on the test data set.
  AnalysisPtr Open() const;
  // The saved map document's text, read through the host (a shared
  // analysis's from a fresh copy of it, as stored).
  std::string DocumentText() const;

private:
  tov::testing::TempFolder m_folder;
  std::string m_schema, m_location;
  std::string m_datasetSchema;
  mutable std::string m_published; // what the GeoPackage was when last copied
};

// Installs a scripted presenter with the turns given (JSON) and returns it.
ScriptedPresenterPtr UseScript(const std::string& json);

// Installs a scripted presenter that also calls `watch` with each form it
// is about to play (before the turn's actions).
ScriptedPresenterPtr WatchScript(const std::string& json, std::function<void(Form&)> watch);

// The entries of a list control of a form, first to last.
std::vector<std::string> ListEntries(Form& form, const std::string& list);

// The message boxes the presenter showed, each as "icon | title | text".
std::vector<std::string> ShownMessages(const ScriptedPresenter& presenter);
inline std::string MessageOf(const std::string& icon, const std::string& title, const std::string& text) {
  return icon + " | " + title + " | " + text;
}

// The turn that types a name on the name page and presses Next.
std::string NameTurn(const std::string& name);
// The turn that presses one button of a form.
std::string ClickTurn(const std::string& form, const std::string& button);

// A creation method's entry of the data set's "SetupStudyArea" task (JSON),
// for TestWorldOptions::extraMethods.
std::string MethodJson(const std::string& name, const std::string& caption,
                       const std::string& properties = R"({ "MainLayer": "Regions" })",
                       const std::string& layers = "[]");

// A new task property set, as the main task keeps a method's wizard state in.
TaskPropertySetPtr NewPropertySet();
// A method's task made as the host makes it: "SSATask" (the data set's
// method of that name), "DataSet", "PropertySet" (a new one when none) and
// the parameters given set, then Init called.
ITovTaskPtr NewMethodTask(const Analysis& analysis, const std::string& progId, const std::string& method,
                          TaskPropertySetPtr propertySet = nullptr,
                          const std::vector<std::pair<std::string, Variant>>& more = {});

// The test data set with the methods that need no data of their own beyond
// "Regions": selected shapes, the whole layer and a ring, beside the extent.
TestWorldOptions AllMethodsOptions();

std::string ReadTextFile(const std::string& nativePath);
void WriteTextFile(const std::string& nativePath, const std::string& text);

// Adds a region of that name and shape (NAD83 degrees) to the world's
// "regions" class, before its analysis is opened.
void AddRegion(const TestWorld& world, const std::string& name, double xmin, double ymin, double xmax, double ymax);

// Puts a line layer of that name into the focus map and saves the document.
// A study area given the same name then fails in the store's outline pass
// (a line layer has no fill symbol), after its record was added: the one
// store failure a test can cause from outside the process.
void AddLineLayerNamed(const Analysis& analysis, const std::string& name);

} // namespace tov::test
