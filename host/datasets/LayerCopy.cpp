#include "host/datasets/LayerCopy.h"

#include "host/gis/GisErrors.h"
#include "platform/runtime/HostError.h"

#include <geos_c.h>
#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";
constexpr double kMetresPerDegree = 111320.0;

struct GeosDeleter {
  void operator()(GEOSGeometry* g) const {
    if (g) GEOSGeom_destroy_r(GeosHandle(), g);
  }
};
using Geos = std::unique_ptr<GEOSGeometry, GeosDeleter>;

void CollectPolygons(const GEOSGeometry* g, std::vector<GEOSGeometry*>& out) {
  GEOSContextHandle_t h = GeosHandle();
  const int type = GEOSGeomTypeId_r(h, g);
  if (type == GEOS_POLYGON) {
    if (!GEOSisEmpty_r(h, g)) out.push_back(GEOSGeom_clone_r(h, g));
  } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
    for (int i = 0; i < GEOSGetNumGeometries_r(h, g); ++i) CollectPolygons(GEOSGetGeometryN_r(h, g, i), out);
  }
}

Geos Polygons(const GEOSGeometry* g) {
  std::vector<GEOSGeometry*> parts;
  CollectPolygons(g, parts);
  return Geos(GEOSGeom_createCollection_r(GeosHandle(), GEOS_MULTIPOLYGON, parts.data(),
                                          static_cast<unsigned>(parts.size())));
}

bool Polygonal(const GEOSGeometry* g) {
  const int type = GEOSGeomTypeId_r(GeosHandle(), g);
  return type == GEOS_POLYGON || type == GEOS_MULTIPOLYGON;
}

// A valid multipolygon of what g covers; null when nothing polygonal is left.
Geos Repaired(const GEOSGeometry* g) {
  GEOSContextHandle_t h = GeosHandle();
  Geos fixed(GEOSMakeValid_r(h, g));
  if (fixed) fixed = Polygons(fixed.get());
  if (!fixed || GEOSisValid_r(h, fixed.get()) != 1) {
    Geos buffered(GEOSBuffer_r(h, g, 0.0, 8));
    fixed = buffered ? Polygons(buffered.get()) : nullptr;
  }
  if (!fixed || GEOSisValid_r(h, fixed.get()) != 1 || GEOSisEmpty_r(h, fixed.get())) return nullptr;
  return fixed;
}

std::string FreeFieldName(OGRFeatureDefn& defn, const std::string& wanted) {
  std::string name = wanted;
  for (int n = 2; defn.GetFieldIndex(name.c_str()) >= 0; ++n) name = wanted + "_" + std::to_string(n);
  return name;
}

void AddField(OGRLayer& layer, const std::string& name, int width) {
  OGRFieldDefn defn(name.c_str(), OFTString);
  defn.SetWidth(width);
  ResetOgrError();
  if (layer.CreateField(&defn) != OGRERR_NONE)
    ThrowOgrError(4001, kSource, "The field \"" + name + "\" cannot be added to the copy of \"" + layer.GetName() + "\"");
}

std::string Text(OGRFeature& f, int field) {
  return field < 0 || !f.IsFieldSetAndNotNull(field) ? std::string() : std::string(f.GetFieldAsString(field));
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}
} // namespace

LonLatShapes::~LonLatShapes() {
  for (GEOSGeometry* g : m_shapes) GEOSGeom_destroy_r(GeosHandle(), g);
}

LayerCopyResult CopyLayer(GDALDataset& out, const RoleLayer& source, const LayerCopyPlan& plan) {
  OGRLayer& in = *source.layer;
  OGRFeatureDefn* inDefn = in.GetLayerDefn();
  LayerCopyResult result;
  result.layerName = plan.layerName;

  const OGRwkbGeometryType type = source.polygons ? wkbMultiPolygon : wkbFlatten(in.GetGeomType());
  char** options = nullptr;
  options = CSLSetNameValue(options, "GEOMETRY_NAME", "Shape");
  options = CSLSetNameValue(options, "FID", "fid");
  options = CSLSetNameValue(options, "SPATIAL_INDEX", "YES");
  ResetOgrError();
  OGRLayer* copy = out.CreateLayer(plan.layerName.c_str(), source.system.get(), type, options);
  CSLDestroy(options);
  if (!copy) ThrowOgrError(4001, kSource, "The layer \"" + plan.layerName + "\" cannot be made in the new GeoPackage");

  // Source fields in order; one the GeoPackage keeps for itself is left out.
  std::vector<int> fieldMap(static_cast<size_t>(inDefn->GetFieldCount()), -1);
  for (int i = 0; i < inDefn->GetFieldCount(); ++i) {
    OGRFieldDefn* field = inDefn->GetFieldDefn(i);
    if (EQUAL(field->GetNameRef(), "fid")) continue;
    ResetOgrError();
    if (copy->CreateField(field, TRUE) != OGRERR_NONE)
      ThrowOgrError(4001, kSource, "The field \"" + std::string(field->GetNameRef()) + "\" of \"" + source.sourceName +
                                       "\" cannot be copied");
    fieldMap[static_cast<size_t>(i)] = copy->GetLayerDefn()->GetFieldCount() - 1;
  }
  int labelIndex = -1, idIndex = -1;
  if (!plan.labels.empty()) {
    result.labelField = FreeFieldName(*copy->GetLayerDefn(), "LABEL");
    AddField(*copy, result.labelField, 254);
    labelIndex = copy->GetLayerDefn()->GetFieldIndex(result.labelField.c_str());
  }
  if (plan.addIdentifiers) {
    result.idField = FreeFieldName(*copy->GetLayerDefn(), "REGION_ID");
    AddField(*copy, result.idField, 12);
    idIndex = copy->GetLayerDefn()->GetFieldIndex(result.idField.c_str());
  }
  const int nameIndex = plan.nameField.empty() ? -1 : inDefn->GetFieldIndex(plan.nameField.c_str());
  const int codeIndex = plan.codeField.empty() ? -1 : inDefn->GetFieldIndex(plan.codeField.c_str());

  OGRSpatialReference wgs84;
  wgs84.importFromEPSG(4326);
  wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRCoordinateTransformation> toLonLat(OGRCreateCoordinateTransformation(source.system.get(), &wgs84));
  if (!toLonLat)
    ThrowProjError(4021, kSource, "The coordinates of \"" + source.sourceName + "\" cannot be turned into degrees");
  const bool geographic = source.system->IsGeographic();
  const double metresPerUnit = geographic ? kMetresPerDegree : source.system->GetLinearUnits();
  OGREnvelope all;
  std::vector<double> sizes;

  GEOSContextHandle_t h = GeosHandle();
  long sequence = 0;
  if (out.StartTransaction() != OGRERR_NONE) ThrowOgrError(4001, kSource, "The new GeoPackage cannot be written");
  in.ResetReading();
  OGRFeature target(copy->GetLayerDefn());
  for (auto& feature : in) {
    ++sequence;
    std::unique_ptr<OGRGeometry> shape(feature->StealGeometry());
    if (!shape || shape->IsEmpty()) {
      ++result.dropped;
      continue;
    }
    if (shape->hasCurveGeometry()) shape.reset(shape->getLinearGeometry());
    shape->flattenTo2D();
    Geos geos;
    if (source.polygons || plan.wantRegionPoints || codeIndex >= 0) {
      geos.reset(shape->exportToGEOS(h));
      if (!geos) {
        ++result.dropped;
        continue;
      }
    }
    if (source.polygons && (!Polygonal(geos.get()) || GEOSisValid_r(h, geos.get()) != 1)) {
      geos = Repaired(geos.get());
      if (!geos) {
        ++result.dropped;
        continue;
      }
      ++result.repaired;
      shape.reset(OGRGeometryFactory::createFromGEOS(h, geos.get()));
      if (!shape) ThrowGeosError(kSource, "A repaired shape of \"" + source.sourceName + "\" cannot be kept");
    }
    if (source.polygons) shape.reset(OGRGeometryFactory::forceToMultiPolygon(shape.release()));
    shape->assignSpatialReference(copy->GetSpatialRef());

    OGREnvelope e;
    shape->getEnvelope(&e);
    all.Merge(e);
    const double latitude = geographic ? (e.MinY + e.MaxY) / 2 * M_PI / 180 : 0;
    const double width = (e.MaxX - e.MinX) * metresPerUnit * (geographic ? std::max(std::cos(latitude), 0.01) : 1);
    sizes.push_back(std::sqrt(std::max(width, 1e-9) * std::max((e.MaxY - e.MinY) * metresPerUnit, 1e-9)));
    if (geographic) result.box.Add(e.MinX, e.MinY, e.MaxX, e.MaxY);

    target.SetFrom(feature.get(), fieldMap.data(), TRUE);
    auto labelled = plan.labels.find(feature->GetFID());
    const std::string label = labelled == plan.labels.end() ? Trimmed(Text(*feature, nameIndex)) : labelled->second;
    if (labelIndex >= 0) target.SetField(labelIndex, label.c_str());
    if (idIndex >= 0) target.SetField(idIndex, std::to_string(sequence).c_str());
    target.SetGeometryDirectly(shape.release());
    target.SetFID(OGRNullFID);
    ResetOgrError();
    if (copy->CreateFeature(&target) != OGRERR_NONE)
      ThrowOgrError(4001, kSource, "A feature of \"" + source.sourceName + "\" cannot be copied");
    ++result.features;

    if (plan.wantRegionPoints || codeIndex >= 0) {
      Geos inside(GEOSPointOnSurface_r(h, geos.get()));
      double x = 0, y = 0;
      if (inside && GEOSGeomGetX_r(h, inside.get(), &x) == 1 && GEOSGeomGetY_r(h, inside.get(), &y) == 1 &&
          toLonLat->Transform(1, &x, &y)) {
        if (plan.wantRegionPoints)
          result.regionPoints.push_back({label, y, x});
        if (codeIndex >= 0) {
          const std::string code = Trimmed(Text(*feature, codeIndex));
          if (!code.empty()) result.codePoints.push_back({code, y, x});
        }
      }
    }
    if (codeIndex >= 0) result.codes.push_back(Trimmed(Text(*feature, codeIndex)));
    if (plan.keepLonLatShapes) {
      std::unique_ptr<OGRGeometry> lonLat(target.GetGeometryRef()->clone());
      if (lonLat->transform(toLonLat.get()) == OGRERR_NONE)
        if (GEOSGeometry* g = lonLat->exportToGEOS(h)) result.shapes.Add(g);
    }
  }
  in.ResetReading();
  ResetOgrError();
  if (out.CommitTransaction() != OGRERR_NONE)
    ThrowOgrError(4001, kSource, "The copy of \"" + source.sourceName + "\" cannot be written");

  if (!geographic && result.features > 0) {
    double west = 0, south = 0, east = 0, north = 0;
    if (toLonLat->TransformBounds(all.MinX, all.MinY, all.MaxX, all.MaxY, &west, &south, &east, &north, 21))
      result.box.Add(west, south, east, north);
  }
  if (!sizes.empty()) {
    std::nth_element(sizes.begin(), sizes.begin() + static_cast<long>(sizes.size() / 2), sizes.end());
    result.typicalSize = sizes[sizes.size() / 2];
  }
  return result;
}

} // namespace tov
