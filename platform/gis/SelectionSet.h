#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <vector>

namespace tov {

// A set of object ids of one feature class.
class SelectionSet : public virtual Object {
public:
  virtual long Count() const = 0;
  virtual FeatureClassPtr Target() const = 0;
  // The selected features that also pass filter (missing filter: all).
  virtual FeatureCursorPtr Search(const QueryFilterPtr& filter, bool recycling) = 0;
  virtual void Add(long oid) = 0;
  virtual void Remove(long oid) = 0;
  virtual bool Contains(long oid) const = 0;
  virtual std::vector<long> IDs() const = 0;
  virtual void Clear() = 0;
  // Combines with other (a set of the same class): selectionNew replaces,
  // selectionAdd, selectionSubtract, selectionAnd, selectionXOr.
  virtual void Combine(const SelectionSetPtr& other, long combination) = 0;
};

using SelectionSetPtr = std::shared_ptr<SelectionSet>;

} // namespace tov
