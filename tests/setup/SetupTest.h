#pragma once
// The setup tests' fixture: the chooser and the main task on a data set of
// several methods, a stand-in for a method's task, and what the pages showed.
#include "HostWrappers.h"
#include "WorldTest.h"

#include "platform/framework/ITovTask.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/runtime/ObjectRegistry.h"
#include "setup/TovSetupStudyAreaMain.h"

#include <map>
#include <string>
#include <vector>

namespace tov::test {

// Captions of the test data set's methods, in list order (selected shapes
// only while something is selected).
inline constexpr char kExtentCaption[] = "The current extent";
inline constexpr char kMapListCaption[] = "Regions from a list or on the map";
inline constexpr char kWholeCaption[] = "The whole region layer";
inline constexpr char kUnknownCaption[] = "Something the component does not know";

// What a chooser showed when it was shown.
struct ChooserShowing {
  std::vector<std::string> methods;
  std::string method; // the selected entry, "" for none
  std::vector<std::string> names;
  std::string name; // the combo's text
  bool openEnabled = false, namesEnabled = false, manageEnabled = false;
  bool createSet = false, openSet = false;
  float left = 0, top = 0;
};

// A scripted presenter that also notes what the chooser and the name page
// showed each time they came up.
class SetupRecorder : public ScriptedPresenter {
public:
  void ShowModal(Form& form) override;
  std::vector<ChooserShowing> choosers;
  std::vector<std::string> namePageTexts;
};

std::shared_ptr<SetupRecorder> UseSetupScript(const std::string& turns);

// Chooser turns: pick a method by its caption, or the study area to open.
std::string ChooseMethodTurn(const std::string& caption, const std::string& more = std::string());
std::string OpenTurn(const std::string& name);
// The name page with a name typed and Back pressed.
std::string NameBackTurn(const std::string& name);

// A task standing in for a method's task: it notes how the main task drives
// it and answers as told.
struct ProbeLog {
  std::vector<std::string> keys; // SetParam keys in order
  TaskDescriptorPtr descriptor;
  TaskPropertySetPtr propertySet;
  std::map<std::string, std::string> propertiesAtPages; // the set as the pages found it
  Variant fromMapOrList;
  bool initResult = true;
  int32_t pagesResult = 0;
  int32_t status = 1;
  int32_t lastError = 0;
  ITovFunctionPtr function;
  std::vector<std::string> calls; // the other operations, in order
};

class ProbeTask : public ITovTask {
public:
  explicit ProbeTask(ProbeLog* log) : m_log(log) {}
  int32_t LastError() override { return m_log->lastError; }
  int32_t Status() override { return m_log->status; }
  ObjectPtr TovParamSelector() override { return nullptr; }
  ITovFunctionPtr TovFunction() override { return m_log->function; }
  void Cleanup() override { m_log->calls.push_back("Cleanup"); }
  void Break() override { m_log->calls.push_back("Break"); }
  bool StartFunction() override;
  int32_t DoParamSelector() override;
  bool InitFunction() override;
  bool InitParamSelector() override { return true; }
  bool Init(const DataManagerPtr&, const HostApplicationPtr&) override;
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

private:
  ProbeLog* m_log;
};

// Puts a probe under a task ProgID for its lifetime.
class ProbeScope {
public:
  explicit ProbeScope(const std::string& progId);
  ProbeLog log;

private:
  ClassOverride m_override;
};

// The host's calls on the main task and what they gave.
struct MainRun {
  std::shared_ptr<TovSetupStudyAreaMain> task;
  bool init = false;
  int32_t pages = -99;
  bool initFunction = false, startFunction = false;
  int32_t status = 0, lastError = 0;
};

// An analysis on a test data set that offers the current extent, selected
// shapes, the map list, the whole layer and a method the component does not
// know.
class SetupTest : public WorldTest {
protected:
  SetupTest();
  void SetUp() override;

  // Creates the main task and drives it as the host does: Init,
  // InitParamSelector, DoParamSelector and, after 0, InitFunction and
  // StartFunction; then Status and LastError. No Cleanup: the test looks at
  // the task afterwards.
  MainRun RunMain();
};

} // namespace tov::test
