#pragma once
#include "platform/gis/QueryFilter.h"

namespace tov {

// ProgID "orvaCore.SpatialFilter". A query filter that also keeps only the
// features whose shape intersects a geometry (projected into the class's
// system when they differ).
class SpatialFilter : public QueryFilter {
public:
  virtual GeometryPtr Geometry() const = 0;
  virtual void SetGeometry(const GeometryPtr& geometry) = 0;
};

using SpatialFilterPtr = std::shared_ptr<SpatialFilter>;

} // namespace tov
