#pragma once
#include "host/join/HostSetup.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/GeometryEnumerator.h"

#include <geos_c.h>

#include <memory>
#include <string>
#include <vector>

namespace tov::bench {


// Native path of the sample GeoPackage; exits with a message when missing.
std::string SampleGeoPackage();

// A feature class of the sample data set, opened through the host.
FeatureClassPtr OpenSampleClass(const std::string& name);
// Every shape of the class (where = "" for all), read through the host.
std::vector<GeometryPtr> ReadShapes(const std::string& className, const std::string& where);

// Hands a fixed list of shapes out again and again, so that a union measures
// the union and not the reading.
class ListEnumerator : public GeometryEnumerator {
public:
  explicit ListEnumerator(const std::vector<GeometryPtr>& shapes) : m_shapes(shapes) {}
  void BindGeometrySource(const QueryFilterPtr&, const ObjectPtr&) override {}
  void Reset() override { m_next = 0; }
  GeometryPtr Next() override { return m_next < m_shapes.size() ? m_shapes[m_next++] : nullptr; }
  long Count() override { return static_cast<long>(m_shapes.size()); }

private:
  const std::vector<GeometryPtr>& m_shapes;
  size_t m_next = 0;
};

// The plain GEOS baselines on the same shapes: each shape converted once,
// gathered in one collection, united, and read back into OGR as the host
// does. Returns the number of polygons of the result.
enum class GeosUnion { Unary, Coverage };
int RawGeosUnion(const std::vector<GeometryPtr>& shapes, GeosUnion kind);

// The host's union; returns its part count and, when asked, how the host
// united the shapes ("coverage" or "unary").
long HostUnion(const std::vector<GeometryPtr>& shapes, std::string* method = nullptr);

// A fresh empty folder under the system temp folder (native path).
std::string FreshFolder(const std::string& name);

} // namespace tov::bench
