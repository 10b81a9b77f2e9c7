#pragma once
// The ZIP code method's test world: a "ZIP areas" layer (field "ZIP") and the
// method with the sample data set's settings, and its page driven by script.
#include "WorldTest.h"

#include "methods/zipcodes/TovSSASelZipCodesTask.h"

namespace tov::test {

// The ZIP areas: 0.1 degree squares in a row from -74.0 eastwards (NAD83).
extern const std::vector<std::string> kZipAreaCodes;
// The square of one of them (or of a world's own codes) in the analysis system.
PolygonPtr ZipSquare(const std::string& code, const std::vector<std::string>& codes = kZipAreaCodes);

// The turn that puts text into the ZIP page and presses button.
std::string ZipTurn(const std::string& text, const std::string& button = "NextButton");

// What the ZIP page showed each time: its text, Next enabled, its rules.
struct ZipPageShowings {
  std::vector<std::string> texts;
  std::vector<bool> nextEnabled;
  std::vector<std::string> rules;
};

class ZipMethodTest : public WorldTest {
protected:
  void SetUp() override { UseSettings({}); }
  // Starts a new world and analysis with these settings and ZIP codes.
  void UseSettings(const std::map<std::string, std::string>& overrides,
                   const std::vector<std::string>& codes = kZipAreaCodes);
  // Installs the script (turns, comma-separated), noting the ZIP page in `page`.
  ScriptedPresenterPtr UseZipScript(const std::string& turns);
  // Drives a new ZIP task as the host does up to DoParamSelector.
  int32_t RunPages(const TaskPropertySetPtr& propertySet = nullptr);
  // The whole host run: pages, then the function.
  HostTaskRunResult RunAll() { return RunHostTask(*analysis, kSelZipCodesTaskProgId); }

  std::shared_ptr<TovSSASelZipCodesTask> task;
  ZipPageShowings page;
};

} // namespace tov::test
