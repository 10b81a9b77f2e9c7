#include "host/datasets/DatasetGazetteer.h"

#include "host/gis/GisErrors.h"

#include <geos_c.h>

#include <set>

namespace tov {
namespace {
constexpr double kNearDegrees = 0.02; // about two kilometres

GazetteerEntry Entry(GazetteerEntry::Kind kind, const std::string& name, const std::string& state, double latitude,
                     double longitude, uint64_t population) {
  GazetteerEntry e;
  e.kind = kind;
  e.name = name;
  e.state = state;
  e.latitude = latitude;
  e.longitude = longitude;
  e.population = population;
  return e;
}
} // namespace

struct PlaceFilter::Index {
  GEOSSTRtree* tree = nullptr;
  std::vector<const GEOSPreparedGeometry*> prepared;
};

PlaceFilter::PlaceFilter(const LonLatShapes& shapes, const LonLatBox& box) : m_index(new Index), m_box(box) {
  GEOSContextHandle_t h = GeosHandle();
  m_index->tree = GEOSSTRtree_create_r(h, 10);
  for (GEOSGeometry* shape : shapes.Shapes()) {
    m_index->prepared.push_back(GEOSPrepare_r(h, shape));
    GEOSSTRtree_insert_r(h, m_index->tree, shape, const_cast<GEOSPreparedGeometry*>(m_index->prepared.back()));
  }
}

PlaceFilter::~PlaceFilter() {
  GEOSContextHandle_t h = GeosHandle();
  for (const GEOSPreparedGeometry* p : m_index->prepared) GEOSPreparedGeom_destroy_r(h, p);
  GEOSSTRtree_destroy_r(h, m_index->tree);
  delete m_index;
}

bool PlaceFilter::Keeps(double longitude, double latitude) const {
  if (m_box.empty || latitude < m_box.south - kNearDegrees || latitude > m_box.north + kNearDegrees) return false;
  const double lon = longitude < m_box.west - kNearDegrees ? longitude + 360 : longitude;
  if (lon < m_box.west - kNearDegrees || lon > m_box.east + kNearDegrees) return false;
  GEOSContextHandle_t h = GeosHandle();
  GEOSGeometry* near = GEOSGeom_createRectangle_r(h, longitude - kNearDegrees, latitude - kNearDegrees,
                                                  longitude + kNearDegrees, latitude + kNearDegrees);
  GEOSGeometry* point = GEOSGeom_createPointFromXY_r(h, longitude, latitude);
  struct Query {
    GEOSContextHandle_t h;
    const GEOSGeometry* point;
    bool found = false;
  } q{h, point};
  GEOSSTRtree_query_r(
      h, m_index->tree, near,
      [](void* item, void* data) {
        auto* q = static_cast<Query*>(data);
        if (q->found) return;
        auto* prepared = static_cast<const GEOSPreparedGeometry*>(item);
        double distance = 0;
        if (GEOSPreparedIntersects_r(q->h, prepared, q->point) == 1 ||
            (GEOSPreparedDistance_r(q->h, prepared, q->point, &distance) == 1 && distance <= kNearDegrees))
          q->found = true;
      },
      &q);
  GEOSGeom_destroy_r(h, point);
  GEOSGeom_destroy_r(h, near);
  return q.found;
}

std::vector<GazetteerEntry> GazetteerEntries(const LayerCopyResult& regions, const LayerCopyResult* codes,
                                             const std::vector<PopulatedPlace>& geoNames,
                                             const std::vector<PopulatedPlace>& ownPlaces, GazetteerCounts& counts) {
  std::vector<GazetteerEntry> entries;
  for (const NamedPoint& p : regions.regionPoints)
    if (!p.name.empty()) entries.push_back(Entry(GazetteerEntry::Kind::Region, p.name, "", p.latitude, p.longitude, 0));
  counts.regions = entries.size();
  if (codes) {
    std::set<std::string> seen;
    for (const NamedPoint& p : codes->codePoints)
      if (seen.insert(p.name).second)
        entries.push_back(Entry(GazetteerEntry::Kind::Code, p.name, "", p.latitude, p.longitude, 0));
    counts.codes = seen.size();
  }
  for (const PopulatedPlace& p : geoNames)
    entries.push_back(Entry(GazetteerEntry::Kind::Place, p.name, p.state, p.latitude, p.longitude, p.population));
  counts.places = geoNames.size();
  for (const PopulatedPlace& p : ownPlaces)
    entries.push_back(Entry(GazetteerEntry::Kind::Place, p.name, p.state, p.latitude, p.longitude, p.population));
  counts.ownPlaces = ownPlaces.size();
  return entries;
}

} // namespace tov
