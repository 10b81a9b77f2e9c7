#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

namespace tov {

// One row of a feature class. Changes are written by Store (or by the
// update cursor it came from).
class Feature : public virtual Object {
public:
  // The object id (-1 before the first Store of a new feature).
  virtual long OID() const = 0;
  virtual FieldsPtr Fields() const = 0;
  // Value by field index (the geometry field gives the shape as an object;
  // a null value is an empty variant). Out of range raises an error.
  virtual Variant Value(long index) const = 0;
  virtual void SetValue(long index, const Variant& value) = 0;
  // The feature's own shape object (changes to it are stored by Store).
  virtual GeometryPtr Shape() const = 0;
  virtual GeometryPtr ShapeCopy() const = 0;
  // Takes a copy of geometry, projected into the class's system.
  virtual void SetShape(const GeometryPtr& geometry) = 0;
  virtual EnvelopePtr Extent() const = 0;
  // Writes the feature (inserting it the first time).
  virtual void Store() = 0;
  // Deletes the row from its class.
  virtual void Delete() = 0;
  virtual FeatureClassPtr Class() const = 0;
};

using FeaturePtr = std::shared_ptr<Feature>;

} // namespace tov
