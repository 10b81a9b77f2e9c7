#include "host/session/HostTaskRun.h"

#include "host/session/ReportCapture.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/LayerFile.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <map>
#include <set>

namespace tov {

namespace {

constexpr char kSetupTaskName[] = "SetupStudyArea";
constexpr char kNameEntry[] = "SAName"; // the name page's entry in the wizard state

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

} // namespace

std::string DescriptorNameForTask(const std::string& taskProgId) {
  static const std::map<std::string, std::string> descriptors = {
      {kCurExtentTaskProgId, "SetupStudyArea.CurrentExtent"},
      {kCurSelShapesTaskProgId, "SetupStudyArea.SelectedShapes"},
      {kSelDrawingTaskProgId, "SetupStudyArea.DrawOwn"},
      {kSelZipCodesTaskProgId, "SetupStudyArea.WildCard"},
      {kMapListTaskProgId, "SetupStudyArea.MapList"},
      {kUseWholeTaskProgId, "SetupStudyArea.UseWhole"},
      {kSimpleRingTaskProgId, "SetupStudyArea.SimpleRing"},
  };
  auto it = descriptors.find(taskProgId);
  return it == descriptors.end() ? std::string() : it->second;
}

HostTaskRunResult RunHostTask(const Analysis& analysis, const std::string& taskProgId,
                              const std::string& descriptorName) {
  const std::string datasetName = analysis.extension->CurrentDatasetName();
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName(datasetName);
  if (!dataset)
    throw HostError(err::FileNotFound, "tovana",
                    "The analysis has no current data set (\"" + datasetName + "\" is not installed)");
  TaskDescriptorPtr setup = dataset->TaskByName(kSetupTaskName);
  if (!setup)
    throw HostError(err::InvalidCall, "tovana",
                    "The data set \"" + datasetName + "\" has no \"" + kSetupTaskName + "\" task");
  const std::string childName = descriptorName.empty() ? DescriptorNameForTask(taskProgId) : descriptorName;
  TaskDescriptorPtr descriptor = setup->ChildByName(childName);
  if (!descriptor)
    throw HostError(err::InvalidCall, "tovana",
                    "The data set \"" + datasetName + "\" does not offer the method \"" + childName + "\"");

  StudyAreaCatalogPtr catalog = Must(analysis.dataManager->GetStudyAreaCatalog(), "the study area catalogue");
  const std::set<std::string> namesBefore = StudyAreaNames(catalog);
  HostTaskRunResult result;
  ReportCapture capture;
  auto task = CreateAs<ITovTask>(taskProgId);
  auto propertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);

  Variant value(descriptor);
  task->SetParam("SSATask", value);
  value = Variant(dataset);
  task->SetParam("DataSet", value);
  value = Variant(propertySet);
  task->SetParam("PropertySet", value);
  result.init = task->Init(analysis.dataManager, analysis.application);
  result.initParamSelector = result.init && task->InitParamSelector();
  if (result.initParamSelector) {
    result.pageResult = task->DoParamSelector();
    if (result.pageResult == 0) {
      if (propertySet->HasProperty(kNameEntry)) result.studyAreaName = propertySet->GetProperty(kNameEntry).ToString();
      capture.StartFunctionPart();
      result.initFunction = task->InitFunction();
      result.startFunction = task->StartFunction();
    }
  }
  result.status = task->Status();
  result.lastError = task->LastError();
  task->Cleanup();
  task.reset();

  result.currentStudyArea = analysis.extension->ExtensionProperties()->GetProperty("CurrentExtent");
  result.reports = capture.Reports();
  result.functionReports = capture.FunctionReports().size();
  result.stored = result.pageResult == 0 && result.functionReports == 0 &&
                  StoredSince(catalog, namesBefore, result.currentStudyArea);
  return result;
}

std::string DescribeReport(const TovErrorHandler::Report& report, const std::string& name) {
  const std::string text = FirstLine(report.description);
  if (report.number == 0 && text.empty())
    return "The study area catalogue refused the name" + (name.empty() ? std::string() : " \"" + name + "\"") +
           "; another process may have taken it a moment ago. Choose another name.";
  return text.empty() ? "Error " + std::to_string(report.number) + " (no description)." : text;
}

std::string DescribeNothingStored(const HostTaskRunResult& result) {
  if (result.Stored()) return std::string();
  const std::string notMade = "; no study area was made.";
  const std::string subject =
      result.studyAreaName.empty() ? std::string("The study area") : "The study area \"" + result.studyAreaName + "\"";
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
