#include "host/datasets/SourceLayers.h"

#include "host/datasets/AnalysisSystemChoice.h"
#include "host/datasets/LayerRoles.h"
#include "host/datasets/LayerChoice.h"
#include "host/gis/GisErrors.h"
#include "platform/runtime/HostError.h"

#include <gdal_priv.h>

#include <memory>

namespace tov {
namespace {
constexpr char kSource[] = "New data set";


GDALDatasetUniquePtr Open(const std::string& source) {
  GDALAllRegister();
  ResetOgrError();
  GDALDatasetUniquePtr ds(GDALDataset::Open(source.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!ds) throw HostError(err::InvalidCall, kSource, source + " is not a source of layers that can be read");
  return ds;
}

OGRLayer& LayerOf(GDALDataset& ds, const std::string& source, const std::string& name) {
  OGRLayer* layer = ds.GetLayerByName(name.c_str());
  if (!layer) throw HostError(err::InvalidCall, kSource, source + " has no layer \"" + name + "\"");
  return *layer;
}
} // namespace

std::vector<SourceLayerInfo> ListSourceLayers(const std::string& source) {
  GDALDatasetUniquePtr ds = Open(source);
  std::vector<SourceLayerInfo> layers;
  for (OGRLayer* layer : ds->GetLayers())
    layers.push_back({layer->GetName(), ShapeKind(*layer), static_cast<long>(layer->GetFeatureCount(TRUE)), TextFields(*layer)});
  return layers;
}

std::string PreviewAnalysisSystem(const std::string& source, const std::string& layerName, const std::string& projection) {
  const long code = ParseProjection(projection);
  if (code > 0) return SystemOfCode(code).description;
  GDALDatasetUniquePtr ds = Open(source);
  OGRLayer& layer = LayerOf(*ds, source, layerName);
  const OGRSpatialReference* sr = layer.GetSpatialRef();
  OGREnvelope e;
  if (!sr || layer.GetExtent(&e, TRUE) != OGRERR_NONE)
    throw HostError(err::InvalidCall, kSource, "the layer \"" + layerName + "\" has no coordinate system or no extent");
  OGRSpatialReference from(*sr), wgs84;
  from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  wgs84.importFromEPSG(4326);
  wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRCoordinateTransformation> toLonLat(OGRCreateCoordinateTransformation(&from, &wgs84));
  double west = 0, south = 0, east = 0, north = 0;
  if (!toLonLat || !toLonLat->TransformBounds(e.MinX, e.MinY, e.MaxX, e.MaxY, &west, &south, &east, &north, 21))
    throw HostError(err::InvalidCall, kSource, "the extent of \"" + layerName + "\" cannot be put in degrees");
  LonLatBox box;
  box.Add(west, south, east, north);
  return ChooseEqualAreaSystem(box).description;
}

CodeRules PreviewCodeRules(const std::string& source, const std::string& layerName, const std::string& field) {
  GDALDatasetUniquePtr ds = Open(source);
  OGRLayer& layer = LayerOf(*ds, source, layerName);
  const int index = layer.GetLayerDefn()->GetFieldIndex(field.c_str());
  if (index < 0) throw HostError(err::InvalidCall, kSource, "the layer \"" + layerName + "\" has no field \"" + field + "\"");
  std::vector<std::string> codes;
  layer.SetIgnoredFields(nullptr);
  for (auto& feature : layer)
    if (feature->IsFieldSetAndNotNull(index)) codes.push_back(feature->GetFieldAsString(index));
  return InferCodeRules(codes);
}

} // namespace tov
