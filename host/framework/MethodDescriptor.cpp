#include "host/framework/MethodDescriptor.h"

#include "platform/runtime/MethodNames.h"

namespace tov {

TaskDescriptorPtr FindMethodDescriptor(const HostDatasetPtr& dataset, const std::string& methodName) {
  TaskDescriptorPtr setup = dataset ? dataset->TaskByName(kSetupTaskName) : nullptr;
  return setup ? setup->ChildByName(methodName) : nullptr;
}

} // namespace tov
