#pragma once
// The test world (a small data set and an analysis on it) and the scripts
// that drive the component's pages in it.
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
  // The "Projection.ResultantDefault" properties (JSON; "" for no "Projections" node).
  std::string projection = R"({"Type": "Projected", "ID": "5070"})";
  // More "layers" entries, comma-separated JSON (the test writes their classes into test.gpkg).
  std::string extraLayers;
  // More children of the "SetupStudyArea" descriptor, comma-separated JSON (MethodJson).
  std::string extraMethods;
};

// A temporary data root with one small data set "Test" (reference layer
// "Regions" around New York) and room for analyses. In the database run the
// analysis is shared in a schema of its own and the data set's layers are
// copied into another before each use; both are dropped with the world.
class TestWorld {
public:
  explicit TestWorld(const std::string& projection = R"({"Type": "Projected", "ID": "5070"})");
  explicit TestWorld(const TestWorldOptions& options);
  ~TestWorld();
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  // In the database run: copies the GeoPackage's tables into the data set
  // schema when they changed and describes the data set by it.
  void Publish() const;

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
  // The saved map document's text, as stored.
  std::string DocumentText() const;

private:
  tov::testing::TempFolder m_folder;
  std::string m_schema, m_location, m_datasetSchema;
  mutable std::string m_published; // what the GeoPackage was when last copied
};

// Installs a presenter P (made from args) with the turns given (JSON) and returns it.
template <class P, class... Args>
std::shared_ptr<P> InstallScript(const std::string& json, Args&&... args) {
  auto presenter = std::make_shared<P>(std::forward<Args>(args)...);
  presenter->LoadScript(json);
  SetPresenter(presenter);
  return presenter;
}
inline ScriptedPresenterPtr UseScript(const std::string& json) { return InstallScript<ScriptedPresenter>(json); }

// The same, calling `watch` with each form before its turn is played.
ScriptedPresenterPtr WatchScript(const std::string& json, std::function<void(Form&)> watch);

// A collection of the texts given, and the texts of a collection (none: empty).
CollectionPtr CollectionOf(const std::vector<std::string>& texts);
std::vector<std::string> TextsOf(const CollectionPtr& collection);

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

// The test data set with a second view of its regions, "Outline", and the
// map list method "Picked" whose task layers (JSON, as "layers" of MethodJson)
// show them on its map page.
TestWorldOptions MapPageOptions(const std::string& taskLayers);

// A new task property set, as the main task keeps a method's wizard state in.
TaskPropertySetPtr NewPropertySet();
// A method's task made as the host makes it: "SSATask", "DataSet",
// "PropertySet" (a new one when none) and `more` set, then Init called.
ITovTaskPtr NewMethodTask(const Analysis& analysis, const std::string& progId, const std::string& method,
                          TaskPropertySetPtr propertySet = nullptr,
                          const std::vector<std::pair<std::string, Variant>>& more = {});

// The test data set with the methods that need no data of their own beyond
// "Regions": selected shapes, the whole layer and a ring, beside the extent.
TestWorldOptions AllMethodsOptions();

std::string ReadTextFile(const std::string& nativePath);
void WriteTextFile(const std::string& nativePath, const std::string& text);

// Writes a polygon class into the world's GeoPackage: the fields of
// PolygonFields, the text fields given (name, length) and one feature per
// row (its shape and field values).
using PolygonRow = std::pair<PolygonPtr, std::map<std::string, std::string>>;
void WritePolygons(const TestWorld& world, const std::string& className,
                   const std::vector<std::pair<std::string, long>>& textFields, const std::vector<PolygonRow>& rows);

// Adds a region of that name and shape (NAD83 degrees) to the world's
// "regions" class, before its analysis is opened.
void AddRegion(const TestWorld& world, const std::string& name, double xmin, double ymin, double xmax, double ymax);

// Puts a line layer of that name into the focus map and saves the document:
// a study area of that name then fails in the store's outline pass, after
// its record was added.
void AddLineLayerNamed(const Analysis& analysis, const std::string& name);

} // namespace tov::test
