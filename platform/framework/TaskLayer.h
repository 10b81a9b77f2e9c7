#pragma once
#include "platform/framework/PropertyList.h"

#include <string>

namespace tov {

// A layer of a registered task: the data-set layer it shows and its own
// settings ("Visible", symbol and label keys). The object is its own
// PropertyList: GetValue reads the layer's settings.
class TaskLayer : public virtual PropertyList {
public:
  // The data-set layer name (matches DataSetLayer::Name).
  virtual std::string Name() = 0;
  // This layer's settings as a PropertyList (the object itself).
  virtual PropertyListPtr GetPropertyList() = 0;
};

using TaskLayerPtr = std::shared_ptr<TaskLayer>;

} // namespace tov
