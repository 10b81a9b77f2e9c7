#include "host/gis/HostFeatureClass.h"

#include "host/common/SqlText.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeature.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/gis/PostgisTableQueries.h"
#include "host/gis/PostgisWorkspace.h"
#include "platform/gis/SpatialFilter.h"
#include "platform/runtime/TextCase.h"

#include <algorithm>
#include <sstream>
#include <unordered_map>

// Reading a class's ids, shapes and rows: by OGR, by OGR SQL where OGR's
// own filter refuses a clause, or by a PostGIS query.
namespace tov {

namespace {
const char kSource[] = "orvaCore.FeatureClass";
} // namespace

std::vector<long> HostFeatureClass::CollectIds(const QueryFilterPtr& filter) {
  if (IsPostgis())
    if (auto spatial = std::dynamic_pointer_cast<SpatialFilter>(filter); !spatial || !spatial->Geometry())
      return PostgisIds(*this, filter ? filter->WhereClause() : std::string());
  ApplyFilter(filter);
  std::vector<long> ids;
  OGRLayer* layer = Layer();
  // Only the ids are wanted: the shapes are not read unless a spatial filter
  // needs them, nor, in a GeoPackage (whose condition is its database's),
  // the attributes.
  if (!layer->GetSpatialFilter()) {
    CPLStringList ignored;
    ignored.AddString("OGR_GEOMETRY");
    if (m_workspace->Kind() == WorkspaceKind::GeoPackage) {
      OGRFeatureDefn* defn = layer->GetLayerDefn();
      for (int i = 0; i < defn->GetFieldCount(); ++i) ignored.AddString(defn->GetFieldDefn(i)->GetNameRef());
    }
    layer->SetIgnoredFields(const_cast<const char**>(ignored.List()));
  }
  ResetOgrError();
  for (auto& f : *layer) ids.push_back(static_cast<long>(f->GetFID()));
  // Some drivers accept any condition and only fail on reading (an unknown
  // field): that is no empty result but a refused condition.
  if (CPLGetLastErrorType() >= CE_Failure) {
    ClearFilter();
    return IdsByOgrSql(filter);
  }
  ClearFilter();
  return ids;
}

std::vector<long> HostFeatureClass::IdsByOgrSql(const QueryFilterPtr& filter) {
  const std::string where = filter ? filter->WhereClause() : std::string();
  const std::string refused =
      "The condition \"" + where + "\" cannot be applied to \"" + m_name + "\"; check the field names and quotes";
  auto spatial = std::dynamic_pointer_cast<SpatialFilter>(filter);
  // A GeoPackage's database refuses a condition of more than about a
  // thousand alternatives (regions picked by name); OGR's own SQL takes it.
  if (m_workspace->Kind() != WorkspaceKind::GeoPackage || where.empty() || (spatial && spatial->Geometry()))
    ThrowOgrError(err::InvalidCall, kSource, refused);
  const std::string sql = "SELECT FID FROM " + SqlIdentifier(m_name) + " WHERE " + where;
  ResetOgrError();
  GDALDataset* ds = m_workspace->Dataset();
  OGRLayer* result = ds->ExecuteSQL(sql.c_str(), nullptr, "OGRSQL");
  if (!result) ThrowOgrError(err::InvalidCall, kSource, refused);
  std::vector<long> ids;
  for (auto& f : *result) ids.push_back(static_cast<long>(f->GetFieldAsInteger64(0)));
  ds->ReleaseResultSet(result);
  if (CPLGetLastErrorType() >= CE_Failure) ThrowOgrError(err::InvalidCall, kSource, refused);
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::vector<GeometryPtr> HostFeatureClass::ReadShapes(const QueryFilterPtr& filter) {
  const SpatialReferencePtr sr = SpatialReference();
  if (IsPostgis())
    if (auto spatial = std::dynamic_pointer_cast<SpatialFilter>(filter); !spatial || !spatial->Geometry()) {
      std::vector<GeometryPtr> shapes;
      for (auto& row : PostgisRows(*this, filter ? filter->WhereClause() : std::string(), ShapeFieldName()))
        if (std::unique_ptr<OGRGeometry> g{row->StealGeometry()}) shapes.push_back(GeometryFromOgr(std::move(g), ShapeType(), sr));
      return shapes;
    }
  ApplyFilter(filter);
  std::vector<GeometryPtr> shapes;
  const long type = ShapeType();
  OGRLayer* layer = Layer();
  try {
    for (auto& f : *layer) {
      std::unique_ptr<OGRGeometry> g(f->StealGeometry());
      if (g) shapes.push_back(GeometryFromOgr(std::move(g), type, sr));
    }
  } catch (...) {
    ClearFilter();
    throw;
  }
  const bool refused = CPLGetLastErrorType() >= CE_Failure;
  ClearFilter();
  if (!refused) return shapes;
  // A condition the driver took but could not run: no shapes is no answer.
  shapes.clear();
  for (const FeaturePtr& f : ReadFeatures(IdsByOgrSql(filter)))
    if (GeometryPtr g = f->Shape()) shapes.push_back(g);
  return shapes;
}

bool HostFeatureClass::Lists(const std::string& subFields, const std::string& name) {
  std::stringstream in(subFields);
  bool any = false;
  for (std::string item; std::getline(in, item, ',');) {
    item.erase(0, item.find_first_not_of(" \t"));
    item.erase(item.find_last_not_of(" \t") + 1);
    if (item == "*") return true;
    if (item.empty()) continue;
    any = true;
    if (EqualsIgnoreCase(item, name)) return true;
  }
  return !any;
}

bool HostFeatureClass::IsPostgis() const {
  return dynamic_cast<const PostgisWorkspace*>(m_workspace.get()) != nullptr;
}

void HostFeatureClass::IgnoreFieldsBut(const std::string& subFields) {
  OGRLayer* layer = Layer();
  CPLStringList ignored;
  // Components name the shape "Shape" whatever its column is called.
  if (!Lists(subFields, ShapeFieldName()) && !Lists(subFields, "Shape")) ignored.AddString("OGR_GEOMETRY");
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i)
    if (!Lists(subFields, defn->GetFieldDefn(i)->GetNameRef())) ignored.AddString(defn->GetFieldDefn(i)->GetNameRef());
  layer->SetIgnoredFields(ignored.empty() ? nullptr : const_cast<const char**>(ignored.List()));
}

std::vector<FeaturePtr> HostFeatureClass::ReadFeatures(const std::vector<long>& ids, const std::string& subFields) {
  std::vector<FeaturePtr> features;
  features.reserve(ids.size());
  if (ids.empty()) return features;
  const HostFeatureClassPtr self = Self();
  if (m_workspace->Kind() != WorkspaceKind::GeoPackage) {
    for (long id : ids) {
      std::unique_ptr<OGRFeature> f(Layer()->GetFeature(id));
      if (f) features.push_back(std::make_shared<HostFeature>(self, std::move(f)));
    }
    return features;
  }
  std::string where = SqlIdentifier(OIDFieldName()) + " IN (";
  for (size_t i = 0; i < ids.size(); ++i) where += (i ? "," : "") + std::to_string(ids[i]);
  where += ")";
  std::unordered_map<long, std::unique_ptr<OGRFeature>> byId;
  byId.reserve(ids.size());
  if (IsPostgis()) {
    for (auto& row : PostgisRows(*this, where, subFields)) byId[static_cast<long>(row->GetFID())] = std::move(row);
    for (long id : ids) {
      auto it = byId.find(id);
      if (it != byId.end() && it->second)
        features.push_back(std::make_shared<HostFeature>(self, std::move(it->second)));
    }
    return features;
  }
  OGRLayer* layer = Layer();
  ResetOgrError();
  if (layer->SetAttributeFilter(where.c_str()) != OGRERR_NONE) {
    layer->SetAttributeFilter(nullptr);
    ThrowOgrError(gisErr::DataAccess, kSource, "The rows of \"" + m_name + "\" cannot be read");
  }
  layer->SetSpatialFilter(nullptr);
  IgnoreFieldsBut(subFields);
  layer->ResetReading();
  for (auto& f : *layer) byId[static_cast<long>(f->GetFID())].reset(f.release());
  const bool failed = CPLGetLastErrorType() >= CE_Failure;
  ClearFilter();
  if (failed) ThrowOgrError(gisErr::DataAccess, kSource, "The rows of \"" + m_name + "\" cannot be read");
  for (long id : ids) {
    auto it = byId.find(id);
    if (it != byId.end() && it->second) features.push_back(std::make_shared<HostFeature>(self, std::move(it->second)));
  }
  return features;
}

} // namespace tov
