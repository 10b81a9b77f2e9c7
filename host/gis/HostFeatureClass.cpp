#include "host/gis/HostFeatureClass.h"

#include "host/common/Paths.h"
#include "host/common/SqlText.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostFeature.h"
#include "host/gis/HostFeatureCursor.h"
#include "host/gis/HostField.h"
#include "host/gis/HostFields.h"
#include "host/gis/HostGeometryDef.h"
#include "host/gis/HostSelectionSet.h"
#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/gis/PostgisTableQueries.h"
#include "host/gis/PostgisWorkspace.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/Index.h"
#include "platform/gis/SpatialFilter.h"
#include "platform/runtime/TextCase.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unordered_map>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char kSource[] = "orvaCore.FeatureClass";

long TypeOf(OGRwkbGeometryType t) {
  switch (wkbFlatten(t)) {
  case wkbPoint:
  case wkbMultiPoint: return geometryPoint;
  case wkbLineString:
  case wkbMultiLineString: return geometryPolyline;
  case wkbPolygon:
  case wkbMultiPolygon: return geometryPolygon;
  default: return geometryNull;
  }
}

long FieldTypeOf(const OGRFieldDefn* f) {
  switch (f->GetType()) {
  case OFTInteger: return f->GetSubType() == OFSTInt16 ? fieldTypeSmallInteger : fieldTypeInteger;
  case OFTInteger64: return fieldTypeInteger;
  case OFTReal: return f->GetSubType() == OFSTFloat32 ? fieldTypeSingle : fieldTypeDouble;
  case OFTDate:
  case OFTDateTime: return fieldTypeDate;
  default: return fieldTypeString;
  }
}

// The system a layer's data is in. The shapefile driver matches a .prj
// against the PROJ database when the layer's system is first asked for,
// which takes milliseconds: an analysis that opens hundreds of study areas,
// all in the analysis system, has each distinct .prj text matched once in a
// process, and the layers that share it are not asked at all.
SpatialReferencePtr LayerSpatialReference(const HostWorkspace& workspace, const std::string& name, OGRLayer& layer) {
  std::string prj;
  if (workspace.Kind() == WorkspaceKind::Shapefile) {
    std::ifstream in(fs::path(workspace.NativePath()) / (name + ".prj"), std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    prj = text.str();
  }
  if (prj.empty()) return HostSpatialReference::FromOgr(layer.GetSpatialRef());
  static std::mutex mutex;
  // .prj text -> the driver's system for it (null: none). Each class gets
  // its own copy, as a system may be changed by whoever holds it.
  static std::unordered_map<std::string, std::unique_ptr<OGRSpatialReference>> systems;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = systems.find(prj);
  if (it == systems.end()) {
    const OGRSpatialReference* sr = layer.GetSpatialRef();
    it = systems.emplace(prj, sr ? std::make_unique<OGRSpatialReference>(*sr) : nullptr).first;
  }
  return HostSpatialReference::FromOgr(it->second.get());
}
} // namespace

HostFeatureClass::HostFeatureClass(HostWorkspacePtr workspace, std::string name)
    : m_workspace(std::move(workspace)), m_name(std::move(name)) {
  Describe();
}

HostFeatureClass::HostFeatureClass(HostWorkspacePtr workspace, std::string name, Unread)
    : m_workspace(std::move(workspace)), m_name(std::move(name)) {}

std::shared_ptr<HostFeatureClass> HostFeatureClass::WhenUsed(HostWorkspacePtr workspace, std::string name) {
  return std::shared_ptr<HostFeatureClass>(new HostFeatureClass(std::move(workspace), std::move(name), Unread{}));
}

SpatialReferencePtr HostFeatureClass::SpatialReference() const {
  Describe();
  return m_sr;
}

FieldsPtr HostFeatureClass::Fields() const {
  Describe();
  return m_fields;
}

void HostFeatureClass::Describe() const {
  if (m_fields) return;
  OGRLayer* layer = Layer();
  m_sr = LayerSpatialReference(*m_workspace, m_name, *layer);
  auto fields = std::make_shared<HostFields>();
  auto oid = std::make_shared<HostField>(OIDFieldName(), fieldTypeOID);
  oid->SetIsNullable(false);
  fields->AddField(oid);
  auto shape = std::make_shared<HostField>(ShapeFieldName(), fieldTypeGeometry);
  auto def = std::make_shared<HostGeometryDef>();
  def->SetGeometryType(ShapeType());
  def->SetSpatialReference(m_sr);
  shape->SetGeometryDef(def);
  fields->AddField(shape);
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    const OGRFieldDefn* f = defn->GetFieldDefn(i);
    auto field = std::make_shared<HostField>(f->GetNameRef(), FieldTypeOf(f), f->GetWidth());
    field->SetIsNullable(f->IsNullable() != 0);
    fields->AddField(field);
  }
  m_fields = fields;
}

std::shared_ptr<HostFeatureClass> HostFeatureClass::Self() {
  return std::dynamic_pointer_cast<HostFeatureClass>(shared_from_this());
}

OGRLayer* HostFeatureClass::Layer() const {
  OGRLayer* layer = m_workspace->Dataset()->GetLayerByName(m_name.c_str());
  if (!layer)
    throw HostError(gisErr::DatasetNotFound, kSource,
                    "The feature class \"" + m_name + "\" no longer exists in \"" + DisplayPath(m_workspace->NativePath()) + "\"");
  return layer;
}

long HostFeatureClass::ShapeType() const { return TypeOf(Layer()->GetGeomType()); }

std::string HostFeatureClass::ShapeFieldName() const {
  const char* name = Layer()->GetGeometryColumn();
  return (name && *name) ? name : "Shape";
}

std::string HostFeatureClass::OIDFieldName() const {
  const char* name = Layer()->GetFIDColumn();
  return (name && *name) ? name : "FID";
}

long HostFeatureClass::FindField(const std::string& name) const { return Fields()->FindField(name); }

EnvelopePtr HostFeatureClass::Extent() const {
  auto env = std::make_shared<HostEnvelope>();
  env->SetSpatialReference(SpatialReference());
  OGRLayer* layer = Layer();
  OGREnvelope e;
  if (layer->GetFeatureCount(TRUE) > 0 && layer->GetExtent(&e, TRUE) == OGRERR_NONE)
    env->PutCoords(e.MinX, e.MinY, e.MaxX, e.MaxY);
  return env;
}

FeaturePtr HostFeatureClass::CreateFeature() { return std::make_shared<HostFeature>(Self(), nullptr); }

FeaturePtr HostFeatureClass::GetFeature(long oid) {
  std::unique_ptr<OGRFeature> f(Layer()->GetFeature(oid));
  if (!f)
    throw HostError(gisErr::DatasetNotFound, kSource,
                    "The feature " + std::to_string(oid) + " of \"" + m_name + "\" does not exist");
  return std::make_shared<HostFeature>(Self(), std::move(f));
}

void HostFeatureClass::ApplyFilter(const QueryFilterPtr& filter) {
  OGRLayer* layer = Layer();
  const std::string where = filter ? filter->WhereClause() : std::string();
  ResetOgrError();
  if (layer->SetAttributeFilter(where.empty() ? nullptr : where.c_str()) != OGRERR_NONE) {
    layer->SetAttributeFilter(nullptr);
    ThrowOgrError(err::InvalidCall, kSource,
                  "The condition \"" + where + "\" cannot be applied to \"" + m_name +
                      "\"; check the field names and quotes");
  }
  layer->SetSpatialFilter(nullptr);
  if (auto spatial = std::dynamic_pointer_cast<SpatialFilter>(filter))
    if (GeometryPtr g = spatial->Geometry(); g && !g->IsEmpty()) {
      auto ogr = OgrGeometryOf(g);
      TransformOgr(*ogr, g->SpatialReference(), SpatialReference());
      layer->SetSpatialFilter(ogr.get());
    }
  layer->ResetReading();
}

void HostFeatureClass::ClearFilter() {
  OGRLayer* layer = Layer();
  layer->SetAttributeFilter(nullptr);
  layer->SetSpatialFilter(nullptr);
  layer->SetIgnoredFields(nullptr);
  layer->ResetReading();
}

long HostFeatureClass::FeatureCount(const QueryFilterPtr& filter) {
  if (!filter) return static_cast<long>(Layer()->GetFeatureCount(TRUE));
  return static_cast<long>(CollectIds(filter).size());
}

FeatureCursorPtr HostFeatureClass::Search(const QueryFilterPtr& filter, bool) {
  return std::make_shared<HostFeatureCursor>(Self(), CollectIds(filter), false,
                                             filter ? filter->SubFields() : std::string());
}

FeatureCursorPtr HostFeatureClass::Update(const QueryFilterPtr& filter, bool) {
  return std::make_shared<HostFeatureCursor>(Self(), CollectIds(filter), true);
}

SelectionSetPtr HostFeatureClass::Select(const QueryFilterPtr& filter, long, long selectionOption,
                                         const WorkspacePtr&) {
  auto set = std::make_shared<HostSelectionSet>(Self());
  if (selectionOption == selectionOptionEmpty) return set;
  for (long id : CollectIds(filter)) {
    set->Add(id);
    if (selectionOption == selectionOptionOnlyOne) break;
  }
  return set;
}

bool HostFeatureClass::HasSpatialIndex() const {
  if (IsPostgis()) return PostgisHasSpatialIndex(*this);
  if (m_workspace->Kind() == WorkspaceKind::Shapefile) {
    std::error_code ec;
    return fs::exists(fs::path(m_workspace->NativePath()) / (m_name + ".qix"), ec);
  }
  const std::string sql = "SELECT HasSpatialIndex(" + SqlLiteral(m_name) + ", " + SqlLiteral(ShapeFieldName()) + ")";
  OGRLayer* result = m_workspace->Dataset()->ExecuteSQL(sql.c_str(), nullptr, "SQLITE");
  bool has = false;
  if (result) {
    std::unique_ptr<OGRFeature> f(result->GetNextFeature());
    has = f && f->GetFieldAsInteger(0) != 0;
    m_workspace->Dataset()->ReleaseResultSet(result);
  }
  return has;
}

void HostFeatureClass::AddIndex(const IndexPtr& index) {
  if (!index || !index->Fields() || index->Fields()->FieldCount() == 0)
    throw HostError(err::InvalidCall, kSource, "An index of \"" + m_name + "\" needs at least one field");
  const std::string field = index->Fields()->Field(0)->Name();
  if (IsPostgis())
    throw HostError(err::InvalidCall, kSource,
                    "The table \"" + m_name + "\" is a data set's in a database and is not indexed here");
  GDALDataset* ds = m_workspace->Dataset();
  OGRLayer* layer = Layer();
  // The index table, its triggers and its filling commit together.
  WorkspaceTransaction transaction(*m_workspace);
  layer->SyncToDisk();
  std::string sql;
  const char* dialect = nullptr;
  if (EqualsIgnoreCase(field, ShapeFieldName())) {
    if (HasSpatialIndex())
      throw HostError(gisErr::IndexExists, kSource, "The feature class \"" + m_name + "\" already has a spatial index");
    if (m_workspace->Kind() == WorkspaceKind::Shapefile) {
      sql = "CREATE SPATIAL INDEX ON " + SqlIdentifier(m_name);
    } else {
      sql = "SELECT CreateSpatialIndex(" + SqlLiteral(m_name) + ", " + SqlLiteral(ShapeFieldName()) + ")";
      dialect = "SQLITE";
    }
  } else {
    if (FindField(field) < 2)
      throw HostError(err::InvalidCall, kSource, "The feature class \"" + m_name + "\" has no field \"" + field + "\" to index");
    if (m_workspace->Kind() == WorkspaceKind::Shapefile) {
      sql = "CREATE INDEX ON " + SqlIdentifier(m_name) + " USING " + SqlIdentifier(field);
    } else {
      const std::string name = index->Name().empty() ? m_name + "_" + field + "_idx" : index->Name();
      sql = "CREATE INDEX " + SqlIdentifier(name) + " ON " + SqlIdentifier(m_name) + " (" + SqlIdentifier(field) + ")";
    }
  }
  ResetOgrError();
  OGRLayer* result = ds->ExecuteSQL(sql.c_str(), nullptr, dialect);
  if (result) ds->ReleaseResultSet(result);
  if (CPLGetLastErrorType() >= CE_Failure)
    ThrowOgrError(gisErr::DataAccess, kSource, "The index on \"" + field + "\" of \"" + m_name + "\" cannot be added");
  transaction.Commit(kSource, "The index on \"" + field + "\" of \"" + m_name + "\" cannot be saved");
  if (EqualsIgnoreCase(field, ShapeFieldName()) && !HasSpatialIndex())
    ThrowOgrError(gisErr::DataAccess, kSource, "The spatial index of \"" + m_name + "\" was not created");
}

void HostFeatureClass::Delete() { m_workspace->DeleteFeatureClass(m_name); }

} // namespace tov
