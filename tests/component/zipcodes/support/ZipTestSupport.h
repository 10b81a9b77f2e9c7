#pragma once
#include "support/ComponentTestSupport.h"

#include "host/session/HostTaskRun.h"
#include "methods/zipcodes/TovSSASelZipCodesTask.h"
#include "platform/framework/TaskPropertySet.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tov::test {

// A scripted presenter that also notes what the ZIP page shows each time it
// is shown: its text, whether Next can be pressed, its rules label.
class ZipPageRecorder : public ScriptedPresenter {
public:
  void ShowModal(Form& form) override;
  std::vector<std::string> texts;
  std::vector<bool> nextEnabled;
  std::vector<std::string> rules;
};

std::shared_ptr<ZipPageRecorder> UseZipScript(const std::string& turns);

// The turn that puts text into the ZIP page and presses button.
std::string ZipTurn(const std::string& text, const std::string& button = "NextButton");

// The ZIP areas of the test data set: 0.1 degree squares in a row from
// -74.0 eastwards, coded 10001, 10002, 10003 and 11201 (geographic NAD83).
extern const std::vector<std::string> kZipAreaCodes;
// The square of one of them (or of a world's own codes) in the analysis
// system.
PolygonPtr ZipSquare(const std::string& code, const std::vector<std::string>& codes = kZipAreaCodes);

// A test data set with the "ZIP areas" layer (field "ZIP") and the ZIP code
// method, whose settings are those of the sample data set with overrides.
class ZipMethodTest : public ::testing::Test {
protected:
  void SetUp() override;
  // Starts a new world and analysis with these settings changed, its ZIP
  // areas coded as given.
  void UseSettings(const std::map<std::string, std::string>& overrides,
                   const std::vector<std::string>& codes = kZipAreaCodes);

  // Drives a new ZIP task as the host does up to DoParamSelector, with the
  // property set given (a new one when none); returns its result.
  int32_t RunPages(const TaskPropertySetPtr& propertySet = nullptr);
  // The whole host run: pages, then the function.
  HostTaskRunResult RunAll();
  // The stored study area's record property.
  std::string RecordProperty(const std::string& name, const std::string& key);

  std::unique_ptr<TestWorld> world;
  AnalysisPtr analysis;
  std::shared_ptr<TovSSASelZipCodesTask> task;
};

} // namespace tov::test
