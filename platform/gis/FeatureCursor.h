#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Rows of a search, a selection or an update, in storage order.
class FeatureCursor : public virtual Object {
public:
  // The next feature, or an empty pointer at the end. With recycling the
  // same object is refilled each time.
  virtual FeaturePtr NextFeature() = 0;
  // Writes back a feature of an update cursor.
  virtual void UpdateFeature(const FeaturePtr& feature) = 0;
  // Deletes the current feature of an update cursor.
  virtual void DeleteFeature() = 0;
  virtual FieldsPtr Fields() const = 0;
  // Index among the cursor's fields, or -1.
  virtual long FindField(const std::string& name) const = 0;
};

using FeatureCursorPtr = std::shared_ptr<FeatureCursor>;

} // namespace tov
