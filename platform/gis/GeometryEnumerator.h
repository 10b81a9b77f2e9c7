#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// ProgID "orvaCore.GeometryEnumerator". The shapes of a feature class or a
// selection set that pass a query filter.
class GeometryEnumerator : public virtual Object {
public:
  // source is a FeatureClass or a SelectionSet; a missing filter means all.
  virtual void BindGeometrySource(const QueryFilterPtr& filter, const ObjectPtr& source) = 0;
  virtual void Reset() = 0;
  // The next shape, or an empty pointer at the end.
  virtual GeometryPtr Next() = 0;
  virtual long Count() = 0;
};

using GeometryEnumeratorPtr = std::shared_ptr<GeometryEnumerator>;

} // namespace tov
