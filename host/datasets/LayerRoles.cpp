#include "host/datasets/LayerRoles.h"

#include "host/gis/GisErrors.h"
#include "platform/runtime/HostError.h"

#include <set>

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";

[[noreturn]] void Refuse(const std::string& what) { throw HostError(err::InvalidCall, kSource, what); }

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
  return text.empty() ? "none" : text;
}

std::string LayerNames(GDALDataset& source) {
  std::vector<std::string> names;
  for (OGRLayer* layer : source.GetLayers()) names.push_back(layer->GetName());
  return Listed(names);
}

std::string Of(const std::string& layer, const std::string& shownSource) {
  return "the layer " + Quoted(layer) + " of " + shownSource;
}

const char* KindOf(OGRwkbGeometryType type) {
  switch (wkbFlatten(type)) {
  case wkbPoint:
  case wkbMultiPoint: return "points";
  case wkbLineString:
  case wkbMultiLineString:
  case wkbCircularString:
  case wkbCompoundCurve:
  case wkbMultiCurve: return "lines";
  case wkbPolygon:
  case wkbMultiPolygon:
  case wkbCurvePolygon:
  case wkbMultiSurface: return "polygons";
  case wkbNone: return "no shapes";
  default: return "";
  }
}

OGRLayer* FindLayer(GDALDataset& source, const std::string& shownSource, const std::string& name, const char* option) {
  OGRLayer* layer = source.GetLayerByName(name.c_str());
  if (!layer)
    Refuse(std::string(option) + ": " + shownSource + " has no layer " + Quoted(name) + " (its layers: " +
           LayerNames(source) + ")");
  return layer;
}

// A GeoPackage says "Undefined geographic SRS" (or cartesian) for a layer
// written without a system; a local system cannot be put on the earth.
const OGRSpatialReference* UsableSystem(OGRLayer& layer) {
  const OGRSpatialReference* sr = layer.GetSpatialRef();
  if (!sr || sr->IsLocal() || sr->IsEmpty()) return nullptr;
  const char* name = sr->GetName();
  if (!sr->GetAuthorityName(nullptr) && name && std::string(name).rfind("Undefined ", 0) == 0) return nullptr;
  return sr;
}

std::shared_ptr<OGRSpatialReference> SystemOf(OGRLayer& layer, const std::string& shownSource, long assumed) {
  if (assumed > 0) {
    auto sr = std::make_shared<OGRSpatialReference>();
    if (sr->importFromEPSG(static_cast<int>(assumed)) != OGRERR_NONE)
      Refuse("--assume-srs: there is no coordinate system with the code EPSG:" + std::to_string(assumed));
    sr->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    // A layer's own system wins: assuming is for those without one.
    if (!UsableSystem(layer)) return sr;
  }
  const OGRSpatialReference* own = UsableSystem(layer);
  if (!own)
    Refuse(Of(layer.GetName(), shownSource) +
           " has no coordinate system; give the one its coordinates are in with --assume-srs EPSG:N");
  auto sr = std::shared_ptr<OGRSpatialReference>(own->Clone());
  sr->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return sr;
}

RoleLayer Resolve(GDALDataset& source, const std::string& shownSource, LayerRole role, const std::string& name,
                  const std::string& field, const char* option, long assumed) {
  RoleLayer r;
  r.role = role;
  r.sourceName = name;
  r.field = field;
  r.layer = FindLayer(source, shownSource, name, option);
  if (r.layer->GetFeatureCount(TRUE) == 0)
    Refuse(std::string(option) + ": " + Of(name, shownSource) + " holds no features");
  const std::string kind = ShapeKind(*r.layer);
  r.polygons = kind == "polygons";
  if (role != LayerRole::Context && !r.polygons)
    Refuse(std::string(option) + ": " + Of(name, shownSource) + " holds " + kind + ", not polygons; " +
           (role == LayerRole::Regions ? "the main layer" : "the code areas") + " must be polygons");
  if (role == LayerRole::Context && kind == "no shapes")
    Refuse(std::string(option) + ": " + Of(name, shownSource) + " holds no shapes to draw");
  r.system = SystemOf(*r.layer, shownSource, assumed);
  return r;
}

int FieldIndex(OGRLayer& layer, const std::string& field, const std::string& shownSource, const char* option) {
  const int i = layer.GetLayerDefn()->GetFieldIndex(field.c_str());
  if (i < 0)
    Refuse(std::string(option) + ": " + Of(layer.GetName(), shownSource) + " has no field " + Quoted(field) +
           " (its text fields: " + Listed(TextFields(layer)) + ")");
  return i;
}

std::string Value(OGRFeature& feature, int field) {
  if (!feature.IsFieldSetAndNotNull(field)) return std::string();
  std::string text = feature.GetFieldAsString(field);
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The first text field whose values are all given and all different.
std::string InferNameField(OGRLayer& layer, const std::string& shownSource) {
  const std::vector<std::string> candidates = TextFields(layer);
  std::vector<int> indexes;
  for (const std::string& f : candidates) indexes.push_back(layer.GetLayerDefn()->GetFieldIndex(f.c_str()));
  std::vector<std::set<std::string>> seen(candidates.size());
  std::vector<bool> usable(candidates.size(), true);
  layer.ResetReading();
  for (auto& feature : layer)
    for (size_t i = 0; i < candidates.size(); ++i) {
      if (!usable[i]) continue;
      const std::string v = Value(*feature, indexes[i]);
      if (v.empty() || !seen[i].insert(v).second) usable[i] = false;
    }
  layer.ResetReading();
  for (size_t i = 0; i < candidates.size(); ++i)
    if (usable[i]) return candidates[i];
  Refuse("--regions: " + Of(layer.GetName(), shownSource) +
         " has no text field whose values are all given and all different (its text fields: " + Listed(candidates) +
         "); name the field of the region names with --regions " + layer.GetName() + ":FIELD");
}
} // namespace

std::string ShapeKind(OGRLayer& layer) {
  if (layer.GetLayerDefn()->GetGeomFieldCount() == 0) return "no shapes";
  const std::string declared = KindOf(layer.GetGeomType());
  if (!declared.empty()) return declared;
  std::set<std::string> kinds;
  layer.ResetReading();
  int seen = 0;
  for (auto& feature : layer) {
    if (const OGRGeometry* g = feature->GetGeometryRef()) kinds.insert(KindOf(g->getGeometryType()));
    if (++seen == 100) break;
  }
  layer.ResetReading();
  if (kinds.size() == 1) return *kinds.begin();
  return kinds.empty() ? "no shapes" : "shapes of several kinds";
}

std::vector<std::string> TextFields(OGRLayer& layer) {
  std::vector<std::string> fields;
  OGRFeatureDefn* defn = layer.GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i)
    if (defn->GetFieldDefn(i)->GetType() == OFTString) fields.push_back(defn->GetFieldDefn(i)->GetNameRef());
  return fields;
}

LayerRoles ResolveLayerRoles(GDALDataset& source, const std::string& shownSource, const DatasetCreateOptions& options) {
  const long assumed = options.assumeSrs.empty() ? 0 : ParseEpsgCode(options.assumeSrs, "--assume-srs");
  LayerRoles roles;
  roles.regions = Resolve(source, shownSource, LayerRole::Regions, options.regions.layer, options.regions.field,
                          "--regions", assumed);
  OGRLayer& regions = *roles.regions.layer;
  if (roles.regions.field.empty()) {
    roles.regions.field = InferNameField(regions, shownSource);
    roles.nameFieldInferred = true;
  }
  const int nameIndex = FieldIndex(regions, roles.regions.field, shownSource, "--regions");
  const int extraIndex =
      options.labelField.empty() ? -1 : FieldIndex(regions, options.labelField, shownSource, "--label-field");
  bool anyName = false;
  regions.ResetReading();
  for (auto& feature : regions) {
    std::string name = Value(*feature, nameIndex);
    anyName = anyName || !name.empty();
    roles.names[feature->GetFID()] = std::move(name);
    if (extraIndex >= 0) roles.labelExtras[feature->GetFID()] = Value(*feature, extraIndex);
  }
  regions.ResetReading();
  if (!anyName)
    Refuse("--regions: the field " + Quoted(roles.regions.field) + " of " + Of(regions.GetName(), shownSource) +
           " is empty in every feature; name the field that holds the region names");

  if (options.codes) {
    RoleLayer codes = Resolve(source, shownSource, LayerRole::Codes, options.codes->layer, options.codes->field,
                              "--codes", assumed);
    const int codeIndex = FieldIndex(*codes.layer, codes.field, shownSource, "--codes");
    bool anyCode = false;
    codes.layer->ResetReading();
    for (auto& feature : *codes.layer)
      if (!Value(*feature, codeIndex).empty()) {
        anyCode = true;
        break;
      }
    codes.layer->ResetReading();
    if (!anyCode)
      Refuse("--codes: the field " + Quoted(codes.field) + " of " + Of(codes.sourceName, shownSource) +
             " is empty in every feature; name the field that holds the codes");
    roles.codes = std::move(codes);
  }
  for (const std::string& name : options.context) {
    if (name == roles.regions.sourceName || (roles.codes && name == roles.codes->sourceName))
      Refuse("--context: " + Quoted(name) + " is already the layer of the regions or of the codes");
    for (const RoleLayer& other : roles.context)
      if (other.sourceName == name) Refuse("--context: the layer " + Quoted(name) + " is given twice");
    roles.context.push_back(Resolve(source, shownSource, LayerRole::Context, name, "", "--context", assumed));
  }
  return roles;
}

} // namespace tov
