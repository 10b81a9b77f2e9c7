#include "host/gis/HostWorkspace.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostSpatialReference.h"
#include "host/gis/HostWorkspaceFactory.h"
#include "platform/gis/Field.h"
#include "platform/gis/Fields.h"
#include "platform/gis/GeometryDef.h"
#include "platform/gis/GisConstants.h"
#include "platform/runtime/TextCase.h"

#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace tov {

namespace {
const char kSource[] = "orvaCore.Workspace";

std::map<std::string, std::weak_ptr<HostWorkspace>>& OpenWorkspaces() {
  static std::map<std::string, std::weak_ptr<HostWorkspace>> open;
  return open;
}

std::string CacheKey(WorkspaceKind kind, const std::string& nativePath) {
  return std::string(kind == WorkspaceKind::Shapefile ? "shp:" : "gpkg:") + ResolvedPath(nativePath);
}

OGRwkbGeometryType OgrType(long geometryType, WorkspaceKind kind) {
  // GeoPackage declares multi-part types so that several parts are allowed.
  const bool multi = kind == WorkspaceKind::GeoPackage;
  switch (geometryType) {
  case geometryPoint: return wkbPoint;
  case geometryPolyline: return multi ? wkbMultiLineString : wkbLineString;
  case geometryPolygon: return multi ? wkbMultiPolygon : wkbPolygon;
  default:
    throw HostError(err::InvalidCall, kSource,
                    "The geometry type " + std::to_string(geometryType) +
                        " cannot be stored; use 1 (point), 3 (polyline) or 4 (polygon)");
  }
}

// The dataset at a native path, open for update; missing or refused raises.
GDALDataset* OpenDataset(WorkspaceKind kind, const std::string& nativePath) {
  std::error_code ec;
  const bool isDir = fs::is_directory(nativePath, ec);
  const bool exists = fs::exists(nativePath, ec);
  if (kind == WorkspaceKind::Shapefile && !isDir)
    throw HostError(err::PathNotFound, kSource,
                    "The folder \"" + DisplayPath(nativePath) + "\" does not exist, so no shapefiles can be opened there");
  if (kind == WorkspaceKind::GeoPackage && (!exists || isDir))
    throw HostError(err::FileNotFound, kSource, "The geodatabase \"" + DisplayPath(nativePath) + "\" does not exist");

  const char* shpDrivers[] = {"ESRI Shapefile", nullptr};
  const char* gpkgDrivers[] = {"GPKG", nullptr};
  ResetOgrError();
  GDALDataset* ds = GDALDataset::Open(nativePath.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE,
                                      kind == WorkspaceKind::Shapefile ? shpDrivers : gpkgDrivers);
  if (!ds && kind == WorkspaceKind::Shapefile) {
    // A folder without shapefiles yet: the driver opens it by "creating" it.
    if (GDALDriver* drv = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile"))
      ds = drv->Create(nativePath.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  }
  if (!ds)
    ThrowOgrError(gisErr::DataAccess, kSource,
                  "The workspace \"" + DisplayPath(nativePath) + "\" cannot be opened for writing");
  return ds;
}

// The workspace open under a key, if any.
std::shared_ptr<HostWorkspace> OpenUnder(const std::string& key) {
  auto it = OpenWorkspaces().find(key);
  return it == OpenWorkspaces().end() ? nullptr : it->second.lock();
}
} // namespace

std::shared_ptr<HostWorkspace> HostWorkspace::Open(WorkspaceKind kind, const std::string& nativePath) {
  const std::string key = CacheKey(kind, nativePath);
  if (auto ws = OpenUnder(key)) {
    ws->Dataset(); // one still to open fails here, as a new one would
    return ws;
  }
  auto ws = std::make_shared<HostWorkspace>(kind, nativePath, OpenDataset(kind, nativePath));
  OpenWorkspaces()[key] = ws;
  return ws;
}

std::shared_ptr<HostWorkspace> HostWorkspace::OpenWhenUsed(WorkspaceKind kind, const std::string& nativePath) {
  const std::string key = CacheKey(kind, nativePath);
  if (auto ws = OpenUnder(key)) return ws;
  auto ws = std::make_shared<HostWorkspace>(kind, nativePath, nullptr);
  ws->m_toOpen = true;
  OpenWorkspaces()[key] = ws;
  return ws;
}

HostWorkspace::HostWorkspace(WorkspaceKind kind, std::string nativePath, GDALDataset* dataset)
    : m_kind(kind), m_nativePath(std::move(nativePath)), m_dataset(dataset) {}

HostWorkspace::~HostWorkspace() {
  if (m_dataset) GDALClose(m_dataset);
}

GDALDataset* HostWorkspace::Dataset() const {
  if (m_toOpen) {
    // Raises while it cannot be opened, and is tried again on the next use.
    m_dataset = OpenDataset(m_kind, m_nativePath);
    m_toOpen = false;
  }
  if (!m_dataset)
    throw HostError(gisErr::DatasetNotFound, kSource, "The workspace \"" + ShownPath() + "\" has been deleted");
  return m_dataset;
}

std::string HostWorkspace::PathName() const { return ToPlatformPath(m_nativePath); }

std::string HostWorkspace::ShownPath() const { return DisplayPath(m_nativePath); }

WorkspaceFactoryPtr HostWorkspace::WorkspaceFactory() const { return std::make_shared<HostWorkspaceFactory>(m_kind); }

std::vector<std::string> HostWorkspace::FeatureClassNames() const {
  std::vector<std::string> names;
  for (auto* layer : Dataset()->GetLayers()) names.push_back(layer->GetName());
  return names;
}

bool HostWorkspace::FeatureClassExists(const std::string& name) const {
  return Dataset()->GetLayerByName(name.c_str()) != nullptr;
}

FeatureClassPtr HostWorkspace::OpenFeatureClass(const std::string& name) {
  if (!FeatureClassExists(name))
    throw HostError(gisErr::DatasetNotFound, kSource,
                    "There is no feature class \"" + name + "\" in \"" + ShownPath() + "\"");
  return std::make_shared<HostFeatureClass>(std::dynamic_pointer_cast<HostWorkspace>(shared_from_this()), name);
}

FeatureClassPtr HostWorkspace::CreateFeatureClass(const std::string& name, const FieldsPtr& fields,
                                                  const std::string&, const std::string&, long,
                                                  const std::string& shapeFieldName, const std::string&) {
  if (name.empty()) throw HostError(err::InvalidCall, kSource, "A feature class needs a name");
  // The shapefile driver would quietly rename the files, and the class
  // could not be found again under the name given.
  auto renamedByDriver = [](char c) { return static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"/\\|?*", c); };
  if (m_kind == WorkspaceKind::Shapefile && std::any_of(name.begin(), name.end(), renamedByDriver))
    throw HostError(err::InvalidCall, kSource,
                    "A shapefile cannot be named \"" + name + "\": its name must not contain any of < > : \" / \\ | ? *");
  if (!fields) throw HostError(err::ObjectRequired, kSource, "The feature class \"" + name + "\" needs a field list");
  if (FeatureClassExists(name))
    throw HostError(gisErr::DatasetExists, kSource,
                    "A feature class named \"" + name + "\" already exists in \"" + ShownPath() + "\"");

  FieldPtr shapeField;
  std::string oidName;
  for (long i = 0; i < fields->FieldCount(); ++i) {
    FieldPtr f = fields->Field(i);
    if (f->Type() == fieldTypeGeometry && !shapeField &&
        (shapeFieldName.empty() || EqualsIgnoreCase(f->Name(), shapeFieldName)))
      shapeField = f;
    if (f->Type() == fieldTypeOID && oidName.empty()) oidName = f->Name();
  }
  if (!shapeField || !shapeField->GeometryDef())
    throw HostError(err::InvalidCall, kSource,
                    "The fields of \"" + name + "\" have no geometry field \"" + shapeFieldName + "\" with a geometry definition");
  GeometryDefPtr def = shapeField->GeometryDef();
  const OGRSpatialReference* sr = HostSpatialReference::OgrOf(def->SpatialReference());

  CPLStringList options;
  if (m_kind == WorkspaceKind::GeoPackage) {
    options.SetNameValue("GEOMETRY_NAME", shapeField->Name().c_str());
    options.SetNameValue("FID", oidName.empty() ? "OID" : oidName.c_str());
    // The spatial index is added as a step of its own (AddIndex).
    options.SetNameValue("SPATIAL_INDEX", "NO");
  }
  // The table, its metadata rows and every field commit together, and a
  // refused field leaves no half-made table behind.
  WorkspaceTransaction transaction(*this);
  try {
    CreateLayerWithFields(name, fields, def->GeometryType(), sr, options.List());
  } catch (...) {
    DropLayerObject(name);
    transaction.Rollback();
    throw;
  }
  transaction.Commit(kSource, "The feature class \"" + name + "\" cannot be saved in \"" + ShownPath() + "\"");
  return OpenFeatureClass(name);
}

void HostWorkspace::CreateLayerWithFields(const std::string& name, const FieldsPtr& fields, long geometryType,
                                          const OGRSpatialReference* sr, char** options) {
  // The driver keeps its own reference to (or copy of) the system it is
  // given, so the copy made for the call is released right after it.
  OGRSpatialReference* layerSr = sr ? sr->Clone() : nullptr;
  ResetOgrError();
  OGRLayer* layer = Dataset()->CreateLayer(name.c_str(), layerSr, OgrType(geometryType, m_kind), options);
  if (layerSr) layerSr->Release();
  if (!layer)
    ThrowOgrError(gisErr::DataAccess, kSource, "The feature class \"" + name + "\" cannot be created in \"" + ShownPath() + "\"");
  // The table exists from here on, so a refused field can drop it again.
  if (m_kind == WorkspaceKind::GeoPackage) layer->SyncToDisk();

  for (long i = 0; i < fields->FieldCount(); ++i) {
    FieldPtr f = fields->Field(i);
    OGRFieldType type;
    switch (f->Type()) {
    case fieldTypeOID:
    case fieldTypeGeometry: continue;
    case fieldTypeSmallInteger:
    case fieldTypeInteger: type = OFTInteger; break;
    case fieldTypeSingle:
    case fieldTypeDouble: type = OFTReal; break;
    case fieldTypeDate: type = OFTDate; break;
    default: type = OFTString; break;
    }
    OGRFieldDefn defn(f->Name().c_str(), type);
    if (type == OFTString) defn.SetWidth(f->Length() > 0 ? static_cast<int>(f->Length()) : 254);
    defn.SetNullable(f->IsNullable());
    ResetOgrError();
    CheckOgr(layer->CreateField(&defn), kSource, "The field \"" + f->Name() + "\" cannot be added to \"" + name + "\"");
  }
  layer->SyncToDisk();
}

int HostWorkspace::LayerIndex(const std::string& name) const {
  GDALDataset* ds = Dataset();
  for (int i = 0; i < ds->GetLayerCount(); ++i)
    if (name == ds->GetLayer(i)->GetName()) return i;
  return -1;
}

void HostWorkspace::DropLayerObject(const std::string& name) {
  // The driver keeps its layer object after a rollback: drop it (and its
  // table) first, or the class would still be listed.
  const int index = LayerIndex(name);
  if (index < 0) return;
  ResetOgrError();
  Dataset()->DeleteLayer(index);
  ResetOgrError();
}

void HostWorkspace::DeleteFeatureClass(const std::string& name) {
  const int index = LayerIndex(name);
  if (index < 0)
    throw HostError(gisErr::DatasetNotFound, kSource, "There is no feature class \"" + name + "\" in \"" + ShownPath() + "\"");
  ResetOgrError();
  CheckOgr(Dataset()->DeleteLayer(index), kSource,
           "The feature class \"" + name + "\" cannot be deleted from \"" + ShownPath() + "\"");
  if (m_kind == WorkspaceKind::Shapefile) {
    // The driver leaves our spatial index file behind.
    std::error_code ec;
    fs::remove(fs::path(m_nativePath) / (name + ".qix"), ec);
  }
}

void HostWorkspace::Delete() {
  const std::string path = ShownPath();
  if (m_kind == WorkspaceKind::Shapefile) {
    for (const auto& name : FeatureClassNames()) DeleteFeatureClass(name);
  }
  GDALClose(Dataset());
  m_dataset = nullptr;
  OpenWorkspaces().erase(CacheKey(m_kind, m_nativePath));
  std::error_code ec;
  if (m_kind == WorkspaceKind::GeoPackage) {
    fs::remove(m_nativePath, ec);
    fs::remove(m_nativePath + "-wal", ec);
    fs::remove(m_nativePath + "-shm", ec);
  } else {
    fs::remove(m_nativePath, ec); // only when empty: other files are not ours
    ec.clear();
  }
  if (ec) throw HostError(err::PathNotFound, kSource, "The workspace \"" + path + "\" cannot be removed: " + ec.message());
}

WorkspaceTransaction::WorkspaceTransaction(HostWorkspace& workspace) {
  if (workspace.Kind() != WorkspaceKind::GeoPackage) return;
  GDALDataset* ds = workspace.Dataset();
  ResetOgrError();
  if (ds->StartTransaction() == OGRERR_NONE) m_dataset = ds;
  ResetOgrError();
}

WorkspaceTransaction::~WorkspaceTransaction() { Rollback(); }

void WorkspaceTransaction::Rollback() {
  if (m_dataset) m_dataset->RollbackTransaction();
  m_dataset = nullptr;
}

void WorkspaceTransaction::Commit(const char* source, const std::string& what) {
  if (!m_dataset) return;
  GDALDataset* ds = m_dataset;
  m_dataset = nullptr;
  ResetOgrError();
  const OGRErr e = ds->CommitTransaction();
  if (e != OGRERR_NONE) {
    // Nothing of this edit may stay pending for the next one.
    ds->RollbackTransaction();
    CheckOgr(e, source, what);
  }
}

} // namespace tov
