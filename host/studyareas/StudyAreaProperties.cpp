#include "host/studyareas/StudyAreaProperties.h"

#include "host/common/Paths.h"
#include "host/framework/MethodDescriptor.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/runtime/PathDisplay.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/LayerFile.h"
#include "platform/gis/SpatialReference.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <geodesic.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <sys/stat.h>

namespace tov {

namespace {

constexpr double kSquareMetresPerSquareMile = 2589988.110336;
constexpr long kWgs84 = 4326;

bool FileExists(const std::string& nativePath) {
  struct stat st {};
  return stat(nativePath.c_str(), &st) == 0;
}

// Area of one ring in square metres on the ellipsoid (unsigned).
double RingArea(const geod_geodesic& ellipsoid, const OGRLinearRing& ring) {
  const int n = ring.getNumPoints();
  if (n < 4) return 0;
  std::vector<double> lats, lons;
  lats.reserve(n);
  lons.reserve(n);
  // The closing point repeats the first; the geodesic polygon closes itself.
  for (int i = 0; i + 1 < n; ++i) {
    lons.push_back(ring.getX(i));
    lats.push_back(ring.getY(i));
  }
  double area = 0, perimeter = 0;
  geod_polygonarea(&ellipsoid, lats.data(), lons.data(), static_cast<int>(lats.size()), &area, &perimeter);
  return std::fabs(area);
}

SpatialReferencePtr Wgs84() {
  return CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(kWgs84);
}

std::string SystemText(const SpatialReferencePtr& sr) {
  if (!sr) return "unknown (the dataset names none)";
  std::string text = sr->Name();
  if (sr->FactoryCode() > 0) text += " (EPSG:" + std::to_string(sr->FactoryCode()) + ")";
  return text;
}

// Numbers for people and scripts alike use the point, whatever the locale.
std::string Number(double value, int decimals) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

void ReadShape(StudyAreaProperties& p, const std::string& platformLayerFile) {
  auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
  layerFile->Open(platformLayerFile);
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(layerFile->Layer());
  if (!layer) {
    p.problem = "the layer file holds no feature layer";
    return;
  }
  FeatureClassPtr featureClass = layer->FeatureClass();
  if (!featureClass) {
    p.problem = "the layer file's data cannot be opened";
    return;
  }
  if (WorkspacePtr workspace = featureClass->Workspace()) {
    p.dataLocation = ToNativePath(workspace->PathName());
    const std::string clsid = workspace->WorkspaceFactory() ? workspace->WorkspaceFactory()->ClassID() : "";
    const std::string gpkgClsid = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId)->ClassID();
    p.format = clsid == gpkgClsid ? "GeoPackage" : "Shapefile";
  }
  SpatialReferencePtr sr = featureClass->SpatialReference();
  p.coordinateSystem = SystemText(sr);
  FeatureCursorPtr cursor = featureClass->Search(nullptr, false);
  FeaturePtr feature = cursor ? cursor->NextFeature() : nullptr;
  GeometryPtr shape = feature ? feature->ShapeCopy() : nullptr;
  if (!shape || shape->IsEmpty()) {
    p.problem = "the dataset holds no shape";
    return;
  }
  EnvelopePtr envelope = shape->Envelope();
  p.xMin = envelope->XMin();
  p.yMin = envelope->YMin();
  p.xMax = envelope->XMax();
  p.yMax = envelope->YMax();
  GeometryPtr geographic = shape->Copy();
  if (!geographic->SpatialReference()) geographic->SetSpatialReference(sr);
  geographic->Project(Wgs84());
  EnvelopePtr degrees = geographic->Envelope();
  p.lonMin = degrees->XMin();
  p.latMin = degrees->YMin();
  p.lonMax = degrees->XMax();
  p.latMax = degrees->YMax();
  const double squareMetres = GeodesicAreaSquareMetres(geographic);
  p.areaSquareKilometres = squareMetres / 1e6;
  p.areaSquareMiles = squareMetres / kSquareMetresPerSquareMile;
  if (auto ogr = OgrGeometryOf(shape)) {
    if (auto polygons = PolygonalPart(std::move(ogr))) {
      for (const OGRPolygon* polygon : *polygons)
        for (const OGRLinearRing* ring : *polygon) p.vertexCount += ring->getNumPoints();
    }
  }
  p.hasShape = true;
}

} // namespace

double GeodesicAreaSquareMetres(const GeometryPtr& polygon) {
  if (!polygon || polygon->IsEmpty()) return 0;
  GeometryPtr geographic = polygon->Copy();
  if (geographic->SpatialReference()) geographic->Project(Wgs84());
  std::unique_ptr<OGRMultiPolygon> parts = PolygonalPart(OgrGeometryOf(geographic));
  if (!parts) return 0;
  geod_geodesic ellipsoid{};
  geod_init(&ellipsoid, 6378137.0, 1 / 298.257223563);
  double total = 0;
  for (const OGRPolygon* part : *parts) {
    bool outer = true;
    for (const OGRLinearRing* ring : *part) {
      const double a = RingArea(ellipsoid, *ring);
      total += outer ? a : -a;
      outer = false;
    }
  }
  return total;
}

StudyAreaProperties DescribeStudyArea(const Analysis& analysis, const std::string& name) {
  return DescribeStudyArea(analysis.extension, name);
}

StudyAreaProperties DescribeStudyArea(const TovExtensionPtr& extension, const std::string& name) {
  DataManagerPtr dataManager = Must(Must(extension, "the analysis extension")->GetDataManager(), "the data manager");
  StudyAreaCatalogPtr catalog = Must(dataManager->GetStudyAreaCatalog(), "the study area catalogue");
  StudyAreaRecordPtr record = catalog->Exists(name) ? catalog->Item(name) : nullptr;
  if (!record) throw HostError(err::InvalidCall, "tovana", "There is no study area named \"" + name + "\" in this analysis.");

  StudyAreaProperties p;
  p.name = record->Name();
  p.current = extension->ExtensionProperties()->GetProperty(kCurrentExtentKey) == p.name;
  TextPropertySetPtr properties = record->RecordProperties();
  p.method = properties->GetProperty("TYPE");
  p.mainLayer = properties->GetProperty("MAINLAYER");
  p.featuresList = properties->GetProperty("FEATURESLIST");
  p.dataSet = record->BaseDataSet();
  HostDatasetPtr dataset = dataManager->DataSetByName(extension->CurrentDatasetName());
  if (TaskDescriptorPtr method = FindMethodDescriptor(dataset, p.method)) p.methodCaption = method->Caption();

  const std::string platformPath = record->FilePath();
  p.layerFile = ToNativePath(platformPath);
  if (!FileExists(p.layerFile)) {
    p.problem = "the layer file is missing";
    return p;
  }
  try {
    ReadShape(p, platformPath);
  } catch (const HostError& e) {
    p.problem = e.Description();
  }
  return p;
}

std::string FormatStudyAreaProperties(const StudyAreaProperties& p) {
  std::string text;
  auto line = [&](const char* label, const std::string& value) { text += std::string(label) + ": " + value + "\n"; };
  line("Name", p.name + (p.current ? " (current)" : ""));
  line("Method", p.methodCaption.empty() ? p.method : p.methodCaption + " (" + p.method + ")");
  if (!p.mainLayer.empty()) line("Main layer", p.mainLayer);
  if (!p.featuresList.empty()) line("Made of", p.featuresList);
  line("Data set", p.dataSet);
  if (p.hasShape) {
    line("Area", Number(p.areaSquareMiles, 2) + " sq mi (" + Number(p.areaSquareKilometres, 2) + " sq km)");
    line("Extent", Number(p.lonMin, 5) + ", " + Number(p.latMin, 5) + " to " + Number(p.lonMax, 5) + ", " +
                       Number(p.latMax, 5) + " (longitude, latitude)");
    line("Extent in its system", Number(p.xMin, 3) + ", " + Number(p.yMin, 3) + " to " + Number(p.xMax, 3) + ", " +
                                     Number(p.yMax, 3));
    line("Vertices", std::to_string(p.vertexCount));
  }
  if (!p.coordinateSystem.empty()) line("Coordinate system", p.coordinateSystem);
  if (!p.format.empty()) line("Format", p.format);
  line("Layer file", ShownPath(p.layerFile));
  if (!p.dataLocation.empty()) line("Data", ShownPath(p.dataLocation));
  if (!p.problem.empty()) line("Problem", p.problem);
  return text;
}

std::string StudyAreaPropertiesJson(const StudyAreaProperties& p) {
  nlohmann::ordered_json j;
  j["name"] = p.name;
  j["current"] = p.current;
  j["method"] = p.method;
  j["methodCaption"] = p.methodCaption;
  j["mainLayer"] = p.mainLayer;
  j["featuresList"] = p.featuresList;
  j["dataSet"] = p.dataSet;
  j["layerFile"] = ShownPath(p.layerFile);
  j["data"] = p.dataLocation.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(ShownPath(p.dataLocation));
  j["format"] = p.format.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(p.format);
  j["coordinateSystem"] = p.coordinateSystem.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(p.coordinateSystem);
  if (p.hasShape) {
    j["areaSquareMiles"] = p.areaSquareMiles;
    j["areaSquareKilometres"] = p.areaSquareKilometres;
    j["extent"] = {p.xMin, p.yMin, p.xMax, p.yMax};
    j["extentLonLat"] = {p.lonMin, p.latMin, p.lonMax, p.latMax};
    j["vertices"] = p.vertexCount;
  } else {
    j["areaSquareMiles"] = nullptr;
    j["areaSquareKilometres"] = nullptr;
    j["extent"] = nullptr;
    j["extentLonLat"] = nullptr;
    j["vertices"] = nullptr;
  }
  j["problem"] = p.problem.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(p.problem);
  return j.dump(2);
}

} // namespace tov
