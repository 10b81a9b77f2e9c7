#include "host/tools/sampledata/ZipAreas.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace tov::sampledata {

std::vector<ZipPoint> ReadZips(const fs::path& arrayFile) {
  std::ifstream in(arrayFile);
  if (!in) throw BuildError("cannot read " + arrayFile.string());
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  // The file is a JavaScript module whose value is a JSON array.
  auto first = s.find('[');
  auto last = s.rfind(']');
  if (first == std::string::npos || last == std::string::npos || last < first)
    throw BuildError(arrayFile.string() + " holds no ZIP list");
  auto list = nlohmann::json::parse(s.begin() + first, s.begin() + last + 1);
  std::vector<ZipPoint> zips;
  zips.reserve(list.size());
  for (const auto& item : list) {
    ZipPoint z;
    z.zip = item.at("zipCode").get<std::string>();
    z.lat = item.at("latitude").get<double>();
    z.lon = item.at("longitude").get<double>();
    if (z.zip.size() != 5 || !std::all_of(z.zip.begin(), z.zip.end(), ::isdigit)) {
      std::cout << "  skipped ZIP \"" << z.zip << "\": not five digits\n";
      continue;
    }
    zips.push_back(z);
  }
  return zips;
}

void AssignCounties(std::vector<ZipPoint>& zips, const std::vector<Region>& counties) {
  // The shapes themselves are the items, as the nearest-neighbour search
  // wants them; shapeIndex leads back to the county.
  Tree tree(GEOSSTRtree_create_r(g_geos, 10));
  std::map<const GEOSGeometry*, size_t> shapeIndex;
  std::vector<Prepared> prepared;
  prepared.reserve(counties.size());
  for (size_t i = 0; i < counties.size(); ++i) {
    GEOSGeometry* shape = counties[i].shape.get();
    prepared.emplace_back(GEOSPrepare_r(g_geos, shape));
    GEOSSTRtree_insert_r(g_geos, tree.get(), shape, shape);
    shapeIndex[shape] = i;
  }
  struct Query {
    const std::vector<Prepared>* prepared;
    const std::map<const GEOSGeometry*, size_t>* index;
    const GEOSGeometry* point;
    long found = -1;
  };
  size_t nearestCount = 0;
  for (auto& z : zips) {
    Geom point = MakePoint(z.lon, z.lat);
    Query q{&prepared, &shapeIndex, point.get()};
    GEOSSTRtree_query_r(
        g_geos, tree.get(), point.get(),
        [](void* item, void* data) {
          auto* q = static_cast<Query*>(data);
          const size_t i = q->index->at(static_cast<const GEOSGeometry*>(item));
          if (q->found < 0 && GEOSPreparedContains_r(g_geos, (*q->prepared)[i].get(), q->point))
            q->found = static_cast<long>(i);
        },
        &q);
    if (q.found < 0) {
      const GEOSGeometry* nearest = GEOSSTRtree_nearest_r(g_geos, tree.get(), point.get());
      if (!nearest) throw BuildError("no county near ZIP " + z.zip);
      q.found = static_cast<long>(shapeIndex.at(nearest));
      ++nearestCount;
    }
    z.countyFips = counties[static_cast<size_t>(q.found)].fips;
  }
  std::cout << "  " << nearestCount << " ZIP centroids lie outside every county; "
            << "they take the nearest one\n";
}

std::vector<ZipArea> BuildZipAreas(const std::vector<ZipPoint>& zips,
                                   const std::vector<Region>& states) {
  // The outline, in the west frame.
  std::vector<GEOSGeometry*> stateShapes;
  for (const auto& s : states) stateShapes.push_back(ToWestFrame(s.shape.get()).release());
  Geom all = Own(GEOSGeom_createCollection_r(g_geos, GEOS_GEOMETRYCOLLECTION, stateShapes.data(),
                                             static_cast<unsigned>(stateShapes.size())),
                 "states");
  Geom nation = Own(GEOSUnaryUnion_r(g_geos, all.get()), "nation outline");
  Prepared nationPrepared(GEOSPrepare_r(g_geos, nation.get()));

  // Sites, and a site index to find which site a cell belongs to.
  std::vector<GEOSGeometry*> points;
  points.reserve(zips.size());
  for (const auto& z : zips) points.push_back(MakePoint(z.lon > 0 ? z.lon - 360.0 : z.lon, z.lat).release());
  Tree siteTree(GEOSSTRtree_create_r(g_geos, 10));
  for (size_t i = 0; i < points.size(); ++i)
    GEOSSTRtree_insert_r(g_geos, siteTree.get(), points[i], reinterpret_cast<void*>(i));
  Geom sites = Own(GEOSGeom_createCollection_r(g_geos, GEOS_MULTIPOINT, points.data(),
                                               static_cast<unsigned>(points.size())),
                   "sites");
  std::vector<const GEOSGeometry*> sitePoints(points.size());
  for (size_t i = 0; i < points.size(); ++i)
    sitePoints[i] = GEOSGetGeometryN_r(g_geos, sites.get(), static_cast<int>(i));

  double xmin, ymin, xmax, ymax;
  GEOSGeom_getXMin_r(g_geos, nation.get(), &xmin);
  GEOSGeom_getYMin_r(g_geos, nation.get(), &ymin);
  GEOSGeom_getXMax_r(g_geos, nation.get(), &xmax);
  GEOSGeom_getYMax_r(g_geos, nation.get(), &ymax);
  Geom frame = Own(GEOSGeom_createRectangle_r(g_geos, xmin - 2, ymin - 2, xmax + 2, ymax + 2),
                   "frame");
  Geom cells = Own(GEOSVoronoiDiagram_r(g_geos, sites.get(), frame.get(), 0.0, 0), "Voronoi");

  std::vector<ZipArea> areas;
  areas.reserve(zips.size());
  size_t outside = 0;
  int cellCount = GEOSGetNumGeometries_r(g_geos, cells.get());
  for (int c = 0; c < cellCount; ++c) {
    const GEOSGeometry* cell = GEOSGetGeometryN_r(g_geos, cells.get(), c);
    struct Query {
      const GEOSGeometry* cell;
      const std::vector<const GEOSGeometry*>* sites;
      long found = -1;
    } q{cell, &sitePoints};
    GEOSSTRtree_query_r(
        g_geos, siteTree.get(), cell,
        [](void* item, void* data) {
          auto* q = static_cast<Query*>(data);
          size_t i = reinterpret_cast<size_t>(item);
          if (q->found < 0 && GEOSIntersects_r(g_geos, q->cell, (*q->sites)[i]) == 1)
            q->found = static_cast<long>(i);
        },
        &q);
    if (q.found < 0) throw BuildError("a Voronoi cell holds no ZIP centroid");
    const ZipPoint& z = zips[static_cast<size_t>(q.found)];

    Geom clipped;
    if (GEOSPreparedContains_r(g_geos, nationPrepared.get(), cell) == 1) {
      clipped = ToMultiPolygon(cell);
    } else if (GEOSPreparedIntersects_r(g_geos, nationPrepared.get(), cell) == 1) {
      clipped = ToMultiPolygon(
          Own(GEOSIntersection_r(g_geos, cell, nation.get()), "clip to outline").get());
    }
    if (!clipped || IsEmpty(clipped.get())) {
      ++outside;
      std::cout << "  no ZIP area for " << z.zip << ": its cell lies outside the outline\n";
      continue;
    }
    Geom back = FromWestFrame(clipped.get());
    bool repaired = false;
    Geom shape = Repair(back.get(), repaired);
    if (IsEmpty(shape.get())) {
      ++outside;
      std::cout << "  no ZIP area for " << z.zip << ": empty after repair\n";
      continue;
    }
    areas.push_back(ZipArea{z.zip, z.countyFips, std::move(shape)});
  }
  std::sort(areas.begin(), areas.end(),
            [](const ZipArea& a, const ZipArea& b) { return a.zip < b.zip; });
  return areas;
}

} // namespace tov::sampledata
