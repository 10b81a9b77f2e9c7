#include "host/session/HostTaskRun.h"

#include "host/common/WorkCancel.h"
#include "host/session/ReportCapture.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/LayerFile.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <set>

namespace tov {

namespace {

constexpr char kNameEntry[] = "SAName"; // the name page's entry in the wizard state
constexpr char kStoreProcedure[] = "CreateStudyArea "; // where the store reports

std::set<std::string> StudyAreaNames(const StudyAreaCatalogPtr& catalog) {
  std::set<std::string> names;
  CollectionPtr all = catalog->Names();
  for (long i = 1; i <= all->Count(); ++i) names.insert(all->Item(i).ToString());
  return names;
}

// Whether the study area `name` is new since the run began and is really
// there: catalogued, its layer file opening with its feature class.
bool StoredSince(const StudyAreaCatalogPtr& catalog, const std::set<std::string>& before, const std::string& name) {
  if (name.empty() || before.count(name) || !catalog->Exists(name)) return false;
  try {
    StudyAreaRecordPtr record = catalog->Item(name);
    if (!record) return false;
    auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
    layerFile->Open(record->FilePath());
    auto layer = As<FeatureLayer>(layerFile->Layer());
    return layer && layer->FeatureClass();
  } catch (const HostError&) {
    return false; // no layer file, or one that cannot be read
  }
}

std::string FirstLine(const std::string& text) {
  const std::string line = text.substr(0, text.find_first_of("\r\n"));
  const auto first = line.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

// One run of a task against an analysis's current data set.
class HostTaskRun {
public:
  explicit HostTaskRun(const Analysis& analysis);
  TaskDescriptorPtr MethodDescriptor(const std::string& taskProgId, const std::string& descriptorName);
  HostTaskRunResult Drive(ITovTask& task, bool passParameters, const TaskDescriptorPtr& descriptor);

private:
  const Analysis& m_analysis;
  HostDatasetPtr m_dataset;
  StudyAreaCatalogPtr m_catalog;
};

} // namespace

HostTaskRun::HostTaskRun(const Analysis& analysis) : m_analysis(analysis) {
  const std::string datasetName = analysis.extension->CurrentDatasetName();
  m_dataset = analysis.dataManager->DataSetByName(datasetName);
  if (!m_dataset)
    throw HostError(err::FileNotFound, "tovana",
                    "The analysis has no current data set (\"" + datasetName + "\" is not installed)");
  m_catalog = Must(analysis.dataManager->GetStudyAreaCatalog(), "the study area catalogue");
}

TaskDescriptorPtr HostTaskRun::MethodDescriptor(const std::string& taskProgId, const std::string& descriptorName) {
  const std::string datasetName = m_dataset->Name();
  TaskDescriptorPtr setup = m_dataset->TaskByName(kSetupTaskName);
  if (!setup)
    throw HostError(err::InvalidCall, "tovana",
                    "The data set \"" + datasetName + "\" has no \"" + kSetupTaskName + "\" task");
  if (!descriptorName.empty()) {
    TaskDescriptorPtr descriptor = setup->ChildByName(descriptorName);
    if (!descriptor)
      throw HostError(err::InvalidCall, "tovana",
                      "The data set \"" + datasetName + "\" does not offer the method \"" + descriptorName + "\"");
    return descriptor;
  }
  // The component knows which of its tasks each method descriptor stands for.
  for (long i = 0; i < setup->ChildCount(); ++i) {
    TaskDescriptorPtr child = setup->Child(i);
    if (child && EqualsIgnoreCase(MethodTaskProgIdFor(child->Name()), taskProgId)) return child;
  }
  throw HostError(err::InvalidCall, "tovana",
                  "The data set \"" + datasetName + "\" offers no method run by the task \"" + taskProgId + "\"");
}

HostTaskRunResult HostTaskRun::Drive(ITovTask& task, bool passParameters, const TaskDescriptorPtr& descriptor) {
  const std::set<std::string> namesBefore = StudyAreaNames(m_catalog);
  HostTaskRunResult result;
  result.before = MarkAnalysis(m_analysis);
  ReportCapture capture;
  // Every wizard state the run makes is kept in sight: the name page leaves
  // the accepted name there, whichever task made the state.
  std::vector<TaskPropertySetPtr> states;
  const ObjectFactory makeState = RegisteredFactory(kTaskPropertySetProgId);
  RegisterClass(kTaskPropertySetProgId, [&states, makeState] {
    ObjectPtr made = makeState();
    if (auto state = std::dynamic_pointer_cast<TaskPropertySet>(made)) states.push_back(state);
    return made;
  });
  struct Restore {
    ObjectFactory factory;
    ~Restore() { RegisterClass(kTaskPropertySetProgId, factory); }
  } restore{makeState};

  if (passParameters) {
    Variant value(descriptor);
    task.SetParam("SSATask", value);
    value = Variant(m_dataset);
    task.SetParam("DataSet", value);
    value = Variant(CreateAs<TaskPropertySet>(kTaskPropertySetProgId));
    task.SetParam("PropertySet", value);
  }
  result.init = task.Init(m_analysis.dataManager, m_analysis.application);
  result.initParamSelector = result.init && task.InitParamSelector();
  if (result.initParamSelector) {
    result.pageResult = task.DoParamSelector();
    if (result.pageResult == 0) {
      for (auto it = states.rbegin(); it != states.rend(); ++it)
        if ((*it)->HasProperty(kNameEntry)) {
          result.studyAreaName = (*it)->GetProperty(kNameEntry).ToString();
          break;
        }
      capture.StartFunctionPart();
      const long cancelledBefore = CancelledWorkCount();
      result.initFunction = task.InitFunction();
      result.startFunction = task.StartFunction();
      result.cancelled = CancelledWorkCount() > cancelledBefore;
    }
  }
  result.status = task.Status();
  result.lastError = task.LastError();
  task.Cleanup();

  result.currentStudyArea = m_analysis.extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
  result.reports = capture.Reports();
  result.functionReports = capture.FunctionReports().size();
  // Judged by the name this run accepted: another process working on the
  // same analysis may make its own study area current in the meantime.
  const std::string stored = result.studyAreaName.empty() ? result.currentStudyArea : result.studyAreaName;
  result.stored = result.pageResult == 0 && result.functionReports == 0 && StoredSince(m_catalog, namesBefore, stored);
  // What the run left is kept, so that a save of its changes need not make
  // the document's state again.
  if (!result.stored) result.after = MarkAnalysis(m_analysis);
  result.changed = result.stored || ChangedBetween(result.before, result.after);
  return result;
}

HostTaskRunResult RunHostTask(const Analysis& analysis) {
  HostTaskRun run(analysis);
  auto task = CreateAs<ITovTask>(kSetupStudyAreaMainProgId);
  HostTaskRunResult result = run.Drive(*task, false, nullptr);
  task.reset();
  return result;
}

HostTaskRunResult RunHostTask(const Analysis& analysis, const std::string& taskProgId,
                              const std::string& descriptorName) {
  HostTaskRun run(analysis);
  TaskDescriptorPtr descriptor = run.MethodDescriptor(taskProgId, descriptorName);
  auto task = CreateAs<ITovTask>(taskProgId);
  HostTaskRunResult result = run.Drive(*task, true, descriptor);
  task.reset();
  return result;
}

bool SaveRunChanges(const Analysis& analysis, HostTaskRunResult& result) {
  if (result.Stored()) SaveAnalysis(analysis);
  else if (result.changed) SaveAnalysisChangesSince(analysis, result.before, std::move(result.after.document));
  return result.changed;
}

std::string DescribeReport(const TovErrorHandler::Report& report, const std::string& name) {
  const std::string text = FirstLine(report.description);
  if (report.number == 0 && text.empty()) {
    // The store reports a name the catalogue refuses without a pending error.
    if (report.location.rfind(kStoreProcedure, 0) == 0)
      return "The study area catalogue refused the name" + (name.empty() ? std::string() : " \"" + name + "\"") +
             "; another process may have taken it a moment ago. Choose another name.";
    const std::string where = report.location.substr(0, report.location.find(' '));
    return "A failure without an error was reported" + (where.empty() ? std::string() : " by " + where) +
           " (the analysis log, log.txt, has the report).";
  }
  return text.empty() ? "Error " + std::to_string(report.number) + " (no description)." : text;
}

std::string DescribeNothingStored(const HostTaskRunResult& result) {
  if (result.Stored()) return std::string();
  const std::string notMade = "; no study area was made.";
  const std::string subject =
      result.studyAreaName.empty() ? std::string("The study area") : "The study area \"" + result.studyAreaName + "\"";
  if (result.cancelled) return subject + " was not stored: its making was cancelled.";
  if (result.functionReports > 0) {
    const auto& report = result.reports[result.reports.size() - result.functionReports];
    return subject + " was not stored: " + DescribeReport(report, result.studyAreaName);
  }
  if (!result.init || !result.initParamSelector) {
    std::string why = "The method could not start";
    if (!result.reports.empty()) why += ": " + DescribeReport(result.reports.front(), result.studyAreaName);
    return why + notMade;
  }
  if (result.pageResult == -1) return "The wizard was cancelled" + notMade;
  if (result.pageResult == 2) return "The wizard went back from its first page" + notMade;
  if (result.lastError == 47) return "The method lacked a required parameter (error 47)" + notMade;
  if (result.lastError != 0) return "The method failed with error " + std::to_string(result.lastError) + notMade;
  return subject + " was not stored; see the analysis log (log.txt) for the reason.";
}

} // namespace tov
