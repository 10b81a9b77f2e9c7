#pragma once
// Small sources of layers that the data set tests make and the program runs
// on, and areas measured on the ellipsoid.
#include "Program.h"

#include "host/gis/CodeFieldIndex.h"

#include <gdal_priv.h>
#include <geodesic.h>
#include <ogrsf_frmts.h>

#include <sstream>

namespace tov::test {

namespace fs = std::filesystem;

// The system of an EPSG code, longitude first.
inline OGRSpatialReference Epsg(int code) {
  OGRSpatialReference sr;
  sr.importFromEPSG(code);
  sr.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return sr;
}

// WKT in degrees as a shape in the system of the code, its edges split into
// steps of `step` degrees first.
inline std::unique_ptr<OGRGeometry> Projected(const std::string& wkt, int epsg, double step) {
  OGRSpatialReference wgs84 = Epsg(4326), target = Epsg(epsg);
  OGRGeometry* g = nullptr;
  EXPECT_EQ(OGRGeometryFactory::createFromWkt(wkt.c_str(), &wgs84, &g), OGRERR_NONE) << wkt;
  std::unique_ptr<OGRGeometry> shape(g);
  shape->segmentize(step);
  EXPECT_EQ(shape->transformTo(&target), OGRERR_NONE);
  return shape;
}

struct SourceFeature {
  std::string wkt;
  std::vector<std::string> values; // one per field, in order
};

// Writes a layer into a GeoPackage (or another driver's source), made when
// missing, in the system of the EPSG code (0: none), with text fields.
inline void WriteLayer(const std::string& path, const std::string& name, long epsg,
                       const std::vector<std::string>& fields, const std::vector<SourceFeature>& features,
                       const char* driver = "GPKG", OGRwkbGeometryType type = wkbUnknown) {
  GDALAllRegister();
  std::unique_ptr<GDALDataset> ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
  if (!ds) ds.reset(GetGDALDriverManager()->GetDriverByName(driver)->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  ASSERT_TRUE(ds) << path;
  OGRSpatialReference sr = epsg > 0 ? Epsg(static_cast<int>(epsg)) : OGRSpatialReference();
  OGRLayer* layer = ds->CreateLayer(name.c_str(), epsg > 0 ? &sr : nullptr, type, nullptr);
  ASSERT_TRUE(layer) << name;
  for (const std::string& f : fields) {
    OGRFieldDefn defn(f.c_str(), OFTString);
    layer->CreateField(&defn);
  }
  for (const SourceFeature& f : features) {
    OGRFeature feature(layer->GetLayerDefn());
    for (size_t i = 0; i < f.values.size(); ++i) feature.SetField(static_cast<int>(i), f.values[i].c_str());
    OGRGeometry* g = nullptr;
    if (!f.wkt.empty()) {
      ASSERT_EQ(OGRGeometryFactory::createFromWkt(f.wkt.c_str(), epsg > 0 ? &sr : nullptr, &g), OGRERR_NONE) << f.wkt;
      feature.SetGeometryDirectly(g);
    }
    ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
  }
}

// A square in degrees, as WKT.
inline std::string SquareWkt(double lon, double lat, double size) {
  std::ostringstream s;
  s.precision(10);
  s << "POLYGON((" << lon << " " << lat << "," << lon << " " << lat + size << "," << lon + size << " " << lat + size
    << "," << lon + size << " " << lat << "," << lon << " " << lat << "))";
  return s.str();
}

// The rows of one SQL statement's first column, run by the GeoPackage driver.
inline std::vector<std::string> Column(GDALDataset& ds, const std::string& sql, int column = 0) {
  std::vector<std::string> rows;
  OGRLayer* result = ds.ExecuteSQL(sql.c_str(), nullptr, nullptr);
  if (!result) return rows;
  for (auto& f : *result) rows.push_back(f->GetFieldAsString(column));
  ds.ReleaseResultSet(result);
  return rows;
}

// Whether the GeoPackage holds the code field index of that table and field.
inline bool HasIndex(GDALDataset& ds, const std::string& table, const std::string& field) {
  return Column(ds, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = '" + table + "' AND name = '" +
                        CodeFieldIndexName(table, field) + "'").size() == 1;
}

// Everything under a folder, as paths relative to it (hidden ones too).
inline std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> entries;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(folder, ec))
    entries.push_back(fs::relative(e.path(), folder).string());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The area of a polygon on the WGS 84 ellipsoid, in square metres; the
// polygon in degrees (its edges densified first, so that they follow the
// shape as it was drawn in its own system).
inline double GeodesicArea(const OGRGeometry& lonLat) {
  struct geod_geodesic g;
  geod_init(&g, 6378137, 1 / 298.257223563);
  double total = 0;
  auto ring = [&](const OGRLinearRing* r) {
    std::vector<double> lats, lons;
    for (int i = 0; i + 1 < r->getNumPoints(); ++i) lons.push_back(r->getX(i)), lats.push_back(r->getY(i));
    double area = 0;
    geod_polygonarea(&g, lats.data(), lons.data(), static_cast<int>(lats.size()), &area, nullptr);
    return std::abs(area);
  };
  auto polygon = [&](const OGRPolygon* p) {
    double a = ring(p->getExteriorRing());
    for (int i = 0; i < p->getNumInteriorRings(); ++i) a -= ring(p->getInteriorRing(i));
    return a;
  };
  const OGRwkbGeometryType type = wkbFlatten(lonLat.getGeometryType());
  if (type == wkbPolygon) return polygon(lonLat.toPolygon());
  if (type == wkbMultiPolygon)
    for (const OGRPolygon* p : *lonLat.toMultiPolygon()) total += polygon(p);
  return total;
}

// The planar area of a shape in its own (equal-area) system against its
// geodesic area: the ratio, 1 when the system keeps areas.
inline double AreaRatio(const OGRGeometry& shape) {
  std::unique_ptr<OGRGeometry> dense(shape.clone());
  OGREnvelope e;
  dense->getEnvelope(&e);
  dense->segmentize(std::max(e.MaxX - e.MinX, e.MaxY - e.MinY) / 200);
  const double planar = OGR_G_Area(OGRGeometry::ToHandle(dense.get()));
  OGRSpatialReference wgs84 = Epsg(4326);
  if (dense->transformTo(&wgs84) != OGRERR_NONE) return 0;
  const double geodesic = GeodesicArea(*dense);
  return geodesic > 0 ? planar / geodesic : 0;
}

} // namespace tov::test
