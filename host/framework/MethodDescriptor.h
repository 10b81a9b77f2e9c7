#pragma once
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"

#include <string>

namespace tov {

// A creation method's descriptor in a data set: the child of its
// "SetupStudyArea" task named methodName (compared exactly, as the component
// compares it). No object when there is no data set, no such task or no such
// method.
TaskDescriptorPtr FindMethodDescriptor(const HostDatasetPtr& dataset, const std::string& methodName);

} // namespace tov
