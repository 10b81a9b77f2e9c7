#pragma once
#include "platform/framework/PropertyList.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// One node of a data set's configuration tree ("Projections",
// "Projection.ResultantDefault", ...). The root has an empty name.
class ConfigNode : public virtual Object {
public:
  virtual std::string Name() = 0;
  // The node's text attributes; never an empty pointer.
  virtual PropertyListPtr Properties() = 0;
  virtual long ChildCount() = 0;
  // Child at index from 0; 5 when out of range.
  virtual std::shared_ptr<ConfigNode> Child(long index) = 0;
  // First child with exactly this name, or no object.
  virtual std::shared_ptr<ConfigNode> ChildByName(const std::string& name) = 0;
};

using ConfigNodePtr = std::shared_ptr<ConfigNode>;

} // namespace tov
