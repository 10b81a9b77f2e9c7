#include "host/tools/sampledata/SampleFiles.h"

#include "host/common/CsvText.h"
#include "host/gis/CodeFieldIndex.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

namespace fs = std::filesystem;

namespace tov::sampledata {

namespace {

struct FieldDefinition {
  const char* name;
  int width;
};

OGRLayer* CreateLayer(GDALDataset& gpkg, const char* name, OGRSpatialReference& srs,
                      const std::vector<FieldDefinition>& fields) {
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

} // namespace

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
  // The ZIP method's conditions and the ZIP preview read a code's rows
  // through this index.
  try {
    IndexCodeField(*gpkg, "zip_areas", "ZIP");
  } catch (const HostError& e) {
    throw BuildError(e.Description());
  }
  gpkg.reset();
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

} // namespace tov::sampledata
