#include "host/gis/PostgisTableQueries.h"

#include "host/common/SqlText.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/PostgisWorkspace.h"

namespace tov {

namespace {
const char kSource[] = "orvaCore.FeatureClass";
} // namespace

std::vector<long> PostgisIds(const HostFeatureClass& table, const std::string& where) {
  auto pg = std::static_pointer_cast<PostgisWorkspace>(table.HostWorkspaceOf());
  const std::string tableName = table.Name();
  const std::string oid = SqlIdentifier(table.OIDFieldName());
  const std::string sql = "SELECT " + oid + " AS tov_oid FROM " + pg->QualifiedTable(tableName) +
                          (where.empty() ? "" : " WHERE " + where) + " ORDER BY " + oid;
  GDALDataset* ds = pg->Dataset();
  ResetOgrError();
  OGRLayer* result = ds->ExecuteSQL(sql.c_str(), nullptr, nullptr);
  const std::string refused =
      "The condition \"" + where + "\" cannot be applied to \"" + tableName + "\"; check the field names and quotes";
  if (!result) ThrowOgrError(err::InvalidCall, kSource, refused);
  std::vector<long> ids;
  for (auto& f : *result) ids.push_back(static_cast<long>(f->GetFieldAsInteger64(0)));
  const bool failed = CPLGetLastErrorType() >= CE_Failure;
  ds->ReleaseResultSet(result);
  if (failed) ThrowOgrError(err::InvalidCall, kSource, refused);
  return ids;
}

std::vector<std::unique_ptr<OGRFeature>> PostgisRows(const HostFeatureClass& table, const std::string& where,
                                                     const std::string& subFields) {
  auto pg = std::static_pointer_cast<PostgisWorkspace>(table.HostWorkspaceOf());
  const std::string tableName = table.Name();
  OGRLayer* layer = table.Layer();
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  std::string columns = SqlIdentifier(table.OIDFieldName()) + " AS tov_oid";
  const bool withShape = HostFeatureClass::Lists(subFields, table.ShapeFieldName()) || HostFeatureClass::Lists(subFields, "Shape");
  if (withShape) columns += ", " + SqlIdentifier(table.ShapeFieldName());
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    const char* name = defn->GetFieldDefn(i)->GetNameRef();
    if (HostFeatureClass::Lists(subFields, name)) columns += ", " + SqlIdentifier(name);
  }
  const std::string sql =
      "SELECT " + columns + " FROM " + pg->QualifiedTable(tableName) + (where.empty() ? "" : " WHERE " + where);
  GDALDataset* ds = pg->Dataset();
  ResetOgrError();
  OGRLayer* result = ds->ExecuteSQL(sql.c_str(), nullptr, nullptr);
  if (!result) ThrowOgrError(gisErr::DataAccess, kSource, "The rows of \"" + tableName + "\" cannot be read");
  // Each row becomes a row of the table's own layout, the columns not read left unset.
  OGRFeatureDefn* read = result->GetLayerDefn();
  std::vector<int> target(static_cast<size_t>(read->GetFieldCount()), -1);
  for (int j = 1; j < read->GetFieldCount(); ++j)
    target[static_cast<size_t>(j)] = defn->GetFieldIndex(read->GetFieldDefn(j)->GetNameRef());
  std::vector<std::unique_ptr<OGRFeature>> rows;
  for (auto& f : *result) {
    auto row = std::make_unique<OGRFeature>(defn);
    row->SetFID(f->GetFieldAsInteger64(0));
    for (int j = 1; j < read->GetFieldCount(); ++j) {
      const int to = target[static_cast<size_t>(j)];
      if (to >= 0 && f->IsFieldSetAndNotNull(j)) row->SetField(to, f->GetRawFieldRef(j));
    }
    if (withShape)
      if (OGRGeometry* g = f->StealGeometry()) {
        g->assignSpatialReference(layer->GetSpatialRef());
        row->SetGeometryDirectly(g);
      }
    rows.push_back(std::move(row));
  }
  const bool failed = CPLGetLastErrorType() >= CE_Failure;
  ds->ReleaseResultSet(result);
  if (failed) ThrowOgrError(gisErr::DataAccess, kSource, "The rows of \"" + tableName + "\" cannot be read");
  return rows;
}

bool PostgisHasSpatialIndex(const HostFeatureClass& table) {
  auto pg = std::static_pointer_cast<PostgisWorkspace>(table.HostWorkspaceOf());
  const std::string sql = "SELECT count(*) FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
                          "JOIN pg_am a ON a.oid = c.relam WHERE a.amname = 'gist' AND i.indrelid = " +
                          SqlLiteral(pg->QualifiedTable(table.Name())) + "::regclass";
  return pg->QueryText(sql).value_or("0") != "0";
}

} // namespace tov
