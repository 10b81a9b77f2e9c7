#pragma once
#include "platform/gis/GeometryEnumerator.h"
#include "platform/gis/Polygon.h"

#include <vector>

namespace tov {

// The shapes gathered by the selected shapes method, handed to the host's
// union of many shapes as its enumerator. It has no source to bind.
class ShapeList : public GeometryEnumerator {
public:
  explicit ShapeList(const std::vector<PolygonPtr>& shapes) : m_shapes(shapes) {}

  void BindGeometrySource(const QueryFilterPtr& filter, const ObjectPtr& source) override;
  void Reset() override { m_next = 0; }
  GeometryPtr Next() override { return m_next < m_shapes.size() ? m_shapes[m_next++] : GeometryPtr(); }
  long Count() override { return static_cast<long>(m_shapes.size()); }

private:
  const std::vector<PolygonPtr>& m_shapes;
  size_t m_next = 0;
};

} // namespace tov
