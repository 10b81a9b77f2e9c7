#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// The label classes of a feature layer, indexed from 0. Every feature layer
// starts with one default label class.
class AnnotationProperties : public virtual Object {
public:
  virtual long Count() const = 0;
  virtual LabelClassPtr Item(long index) const = 0;
  virtual void Add(const LabelClassPtr& labelClass) = 0;
  virtual void Clear() = 0;
};

using AnnotationPropertiesPtr = std::shared_ptr<AnnotationProperties>;

} // namespace tov
