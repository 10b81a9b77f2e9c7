#pragma once
// The fixture of the tests that work on a test world: its analysis opened in
// this process, or the program run on it from outside.
#include "TestWorld.h"

#include "host/session/HostTaskRun.h"

#include <nlohmann/json.hpp>

#include <initializer_list>

namespace tov::test {

// Sets each parameter of a task or function in turn.
template <class Target>
void SetParams(Target& target, std::initializer_list<std::pair<const char*, Variant>> parameters) {
  for (const auto& [key, value] : parameters) {
    Variant copy = value;
    target.SetParam(key, copy);
  }
}

// Init and Start of a method's function as its task runs them (each must
// succeed), then one step: its result.
template <class Function>
bool InitStartStep(Function& function) {
  EXPECT_TRUE(function.Init());
  EXPECT_TRUE(function.Start());
  return function.DoStep();
}

class WorldTest : public ::testing::Test {
protected:
  WorldTest() : WorldTest(TestWorldOptions{}) {}
  explicit WorldTest(const TestWorldOptions& options) : world(std::make_unique<TestWorld>(options)) {}
  ~WorldTest() override;

  // Opens the world's analysis in this process, with an empty script.
  void OpenAnalysis();
  // Starts a new world (the last one's analysis closed first) and opens it.
  void UseWorld(const TestWorldOptions& options);

  HostDatasetPtr Dataset() const;
  // The data set's descriptor of a creation method.
  TaskDescriptorPtr Method(const std::string& name = kCurrentExtentMethod) const;
  StudyAreaCatalogPtr Catalog() const;
  TextPropertySetPtr Options() const;
  TextPropertySetPtr Properties() const;
  MapDocumentPtr Document() const;
  MapPtr FocusMap() const;
  std::string CurrentStudyArea() const;
  // The current study area's shape, as the extension reads it.
  PolygonPtr CurrentShape() const;
  std::string RecordProperty(const std::string& name, const std::string& key) const;
  // A rectangle 0.5 degrees wide from west stored as a current-extent study
  // area (as the property sheet stores it when propertySheet).
  bool Store(const std::string& name, double west, bool propertySheet = false);
  // A method's page filled as its task fills it, not yet initialised.
  template <class Page>
  std::shared_ptr<Page> NewPage(const std::string& method) const {
    auto page = std::make_shared<Page>();
    page->m_pApplication = analysis->application;
    page->m_pDataManager = analysis->dataManager;
    page->m_pDataSet = Dataset();
    page->m_pSSATask = Method(method);
    return page;
  }
  // Plays the turns (comma-separated JSON) through a host task run (the main
  // task when progId is empty), which must use them all without errors.
  HostTaskRunResult RunScripted(const std::string& turns, const std::string& progId = "",
                                const std::string& method = "");
  // The same with a presenter of the test's own, already loaded with its turns.
  HostTaskRunResult RunWith(const ScriptedPresenterPtr& script, const std::string& progId = "",
                            const std::string& method = "");
  // Shows a page once, playing the actions (comma-separated JSON) without errors, then its close box.
  void ShowPage(Form& page, const std::string& actions);
  // The study area's property sheet run as the host runs it; false when nothing was stored.
  bool RunPropertySheet(const std::string& name);
  // The method's rebuilder registered for the test's lifetime; the turn pressing Rebuild.
  void UseRebuilder(const std::string& method, void (*registerRebuilder)());
  static std::string RebuildTurn() { return ClickTurn("StudyAreaPropertiesDialog", "RebuildButton"); }
  // When the study area's layer file was last written.
  std::filesystem::file_time_type LayerFileTime(const std::string& name) const;

  // Runs the program on the world's analysis and data set; its exit code
  // (output and errors are kept below).
  int Tovana(const std::string& arguments);
  // The same with only --data-root given.
  int TovanaWith(const std::string& arguments);
  // The saved map document and its focus map's top-level layers.
  nlohmann::json SavedDocument() const;
  nlohmann::json FocusLayers() const;

  std::unique_ptr<TestWorld> world;
  AnalysisPtr analysis;
  ScriptedPresenterPtr presenter;
  std::string output, errors;

private:
  std::string m_rebuiltMethod;
};

} // namespace tov::test
