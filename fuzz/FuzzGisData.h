#pragma once
// Data for the layer file and document targets to find: a shapefile
// "squares" in shapes/ and a GeoPackage areas.gpkg with "zones", both in the
// scratch folder, so that a fuzzed data source can name real data (the seeds
// name them relative to the file).
#include "FuzzSupport.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace tov::fuzz {

inline void MakeLayer(const char* driverName, const std::filesystem::path& path, const char* layerName) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
  if (!driver) Fail(std::string("no GDAL driver ") + driverName);
  GDALDataset* ds = driver->Create(path.string().c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  if (!ds) Fail("cannot create " + path.string());
  OGRSpatialReference srs;
  srs.importFromEPSG(4326);
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  OGRLayer* layer = ds->CreateLayer(layerName, &srs, wkbPolygon, nullptr);
  if (!layer) Fail(std::string("cannot create the layer ") + layerName);
  OGRFieldDefn name("NAME", OFTString);
  layer->CreateField(&name);
  OGRFeature* feature = OGRFeature::CreateFeature(layer->GetLayerDefn());
  feature->SetField("NAME", "one");
  OGRGeometry* square = nullptr;
  OGRGeometryFactory::createFromWkt("POLYGON ((0 0,1 0,1 1,0 1,0 0))", nullptr, &square);
  feature->SetGeometryDirectly(square);
  if (layer->CreateFeature(feature) != OGRERR_NONE) Fail("cannot store a feature");
  OGRFeature::DestroyFeature(feature);
  GDALClose(ds);
}

inline void MakeGisData() {
  MakeLayer("ESRI Shapefile", ScratchFolder() / "shapes", "squares");
  MakeLayer("GPKG", ScratchFolder() / "areas.gpkg", "zones");
}

} // namespace tov::fuzz
