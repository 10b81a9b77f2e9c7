#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"

#include <memory>
#include <string>

namespace tov {

// A method's task made and set up on one descriptor of a data set as the
// main task does before the pages ("SSATask", "DataSet", Init), so that the
// host can run the method's own pages outside a run of Study Area Setup.
// HostError 5 under source with notInstalled when the ProgID is another
// class, with refused when Init refuses (the task has reported why).
template <class Task>
std::shared_ptr<Task> StartMethodTask(const char* taskProgId, const TaskDescriptorPtr& descriptor,
                                      const HostDatasetPtr& dataset, const DataManagerPtr& dataManager,
                                      const HostApplicationPtr& application, const char* source,
                                      const std::string& notInstalled, const std::string& refused) {
  auto task = std::dynamic_pointer_cast<Task>(CreateObject(taskProgId));
  if (!task) throw HostError(err::InvalidCall, source, notInstalled);
  Variant value(descriptor);
  task->SetParam("SSATask", value);
  value = Variant(dataset);
  task->SetParam("DataSet", value);
  if (!task->Init(dataManager, application)) throw HostError(err::InvalidCall, source, refused);
  return task;
}

} // namespace tov
