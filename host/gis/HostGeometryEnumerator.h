#pragma once
#include "platform/gis/GeometryEnumerator.h"

#include <ogr_geometry.h>

#include <memory>
#include <vector>

class OGRLayer;

namespace tov {

class HostFeatureClass;

// Reads every shape of its source in one pass on Reset (or on the first
// Next), which is what a union over a whole class needs. A PostGIS table's
// shapes are streamed from the server instead, never all held at once.
class HostGeometryEnumerator : public GeometryEnumerator {
public:
  ~HostGeometryEnumerator() override;

  void BindGeometrySource(const QueryFilterPtr& filter, const ObjectPtr& source) override;
  void Reset() override;
  GeometryPtr Next() override;
  long Count() override;

  // For shapes of a PostGIS table: their union computed by the database,
  // in the table's system (*system), when that is the faster place (see
  // ServerUnionPreferred); no object when the host should unite them.
  std::unique_ptr<OGRGeometry> ServerUnion(SpatialReferencePtr* system);

private:
  void Load();
  // The PostGIS table of the source, with the condition selecting its
  // shapes ("" for all); no class for any other source.
  std::shared_ptr<HostFeatureClass> PostgisSource(std::string* where) const;
  void CloseStream();

  QueryFilterPtr m_filter;
  ObjectPtr m_source;
  std::vector<GeometryPtr> m_shapes;
  bool m_loaded = false;
  size_t m_next = 0;
  // A server-side cursor over a PostGIS table's shapes.
  std::shared_ptr<HostFeatureClass> m_streamClass;
  OGRLayer* m_stream = nullptr;
};

} // namespace tov
