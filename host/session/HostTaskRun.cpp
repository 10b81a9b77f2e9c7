#include "host/session/HostTaskRun.h"

#include "platform/framework/ITovTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <map>

namespace tov {

namespace {

constexpr char kSetupTaskName[] = "SetupStudyArea";

long StudyAreaCount(const Analysis& analysis) {
  return Must(analysis.dataManager->GetStudyAreaCatalog(), "the study area catalogue")->Count();
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

  HostTaskRunResult result;
  result.studyAreasBefore = StudyAreaCount(analysis);
  auto task = CreateAs<ITovTask>(taskProgId);
  auto propertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);

  Variant value(descriptor);
  task->SetParam("SSATask", value);
  value = Variant(dataset);
  task->SetParam("DataSet", value);
  value = Variant(propertySet);
  task->SetParam("PropertySet", value);
  task->Init(analysis.dataManager, analysis.application);
  result.initParamSelector = task->InitParamSelector();
  if (result.initParamSelector) {
    result.pageResult = task->DoParamSelector();
    if (result.pageResult == 0) {
      result.initFunction = task->InitFunction();
      result.startFunction = task->StartFunction();
    }
  }
  result.status = task->Status();
  result.lastError = task->LastError();
  task->Cleanup();
  task.reset();

  result.studyAreasAfter = StudyAreaCount(analysis);
  result.currentStudyArea = analysis.extension->ExtensionProperties()->GetProperty("CurrentExtent");
  return result;
}

std::string DescribeNothingStored(const HostTaskRunResult& result) {
  if (result.Stored()) return std::string();
  if (!result.initParamSelector) return "The method could not start.";
  if (result.pageResult == -1) return "The wizard was cancelled; no study area was made.";
  if (result.pageResult == 2) return "The wizard went back from its first page; no study area was made.";
  if (result.lastError == 47) return "The method lacked a required parameter (error 47); no study area was made.";
  if (result.lastError != 0)
    return "The method failed with error " + std::to_string(result.lastError) + "; no study area was made.";
  return "No study area was stored; see the analysis log (log.txt) for the reason.";
}

} // namespace tov
