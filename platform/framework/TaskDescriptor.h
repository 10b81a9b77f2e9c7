#pragma once
#include "platform/framework/PropertyList.h"
#include "platform/framework/TaskLayer.h"

#include <string>

namespace tov {

// A registered task ("SetupStudyArea" and its method children). The object is
// also its own PropertyList: GetValue("MainLayer") reads the task's settings,
// "" when absent. Callers may keep it under either view.
class TaskDescriptor : public virtual PropertyList {
public:
  virtual std::string Name() = 0;
  virtual std::string Caption() = 0;
  // The task's settings as a PropertyList (the object itself).
  virtual PropertyListPtr GetPropertyList() = 0;

  // Child descriptors, from 0 in registration order; 5 when out of range.
  virtual long ChildCount() = 0;
  virtual std::shared_ptr<TaskDescriptor> Child(long index) = 0;
  // First child with exactly this name, or no object.
  virtual std::shared_ptr<TaskDescriptor> ChildByName(const std::string& name) = 0;

  // Task layers, from 0; 5 when the index is out of range.
  virtual long LayerCount() = 0;
  virtual TaskLayerPtr Layer(long index) = 0;
  // The task layer for a data-set layer name (exact), or no object.
  virtual TaskLayerPtr LayerByName(const std::string& name) = 0;
};

using TaskDescriptorPtr = std::shared_ptr<TaskDescriptor>;

} // namespace tov
