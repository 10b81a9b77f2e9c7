#include "host/gis/HostGeometryEnumerator.h"

#include "host/common/SqlText.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/gis/PolygonUnion.h"
#include "host/gis/PostgisWorkspace.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/SelectionSet.h"
#include "platform/gis/SpatialFilter.h"
#include "platform/runtime/ProgIds.h"

#include <ogrsf_frmts.h>

#include <cstdlib>
#include <cstring>

namespace tov {

namespace {
std::string Refused(const std::string& where, const std::string& table) {
  return "The condition \"" + where + "\" cannot be applied to \"" + table + "\"; check the field names and quotes";
}
} // namespace

HostGeometryEnumerator::~HostGeometryEnumerator() { CloseStream(); }

void HostGeometryEnumerator::BindGeometrySource(const QueryFilterPtr& filter, const ObjectPtr& source) {
  if (!std::dynamic_pointer_cast<HostFeatureClass>(source) && !std::dynamic_pointer_cast<SelectionSet>(source))
    throw HostError(err::TypeMismatch, kGeometryEnumeratorProgId,
                    "Shapes can only be enumerated from a feature class or a selection set");
  CloseStream();
  m_filter = filter;
  m_source = source;
  m_loaded = false;
  m_shapes.clear();
  m_next = 0;
}

std::shared_ptr<HostFeatureClass> HostGeometryEnumerator::PostgisSource(std::string* where) const {
  // A spatial condition is the host's to apply.
  if (auto spatial = std::dynamic_pointer_cast<SpatialFilter>(m_filter); spatial && spatial->Geometry()) return nullptr;
  const std::string condition = m_filter ? m_filter->WhereClause() : std::string();
  if (auto fc = std::dynamic_pointer_cast<HostFeatureClass>(m_source); fc && fc->IsPostgis()) {
    *where = condition;
    return fc;
  }
  auto set = std::dynamic_pointer_cast<SelectionSet>(m_source);
  auto fc = set ? std::dynamic_pointer_cast<HostFeatureClass>(set->Target()) : nullptr;
  if (!fc || !fc->IsPostgis()) return nullptr;
  std::string ids;
  for (long id : set->IDs()) ids += (ids.empty() ? "" : ",") + std::to_string(id);
  *where = SqlIdentifier(fc->OIDFieldName()) + " IN (" + (ids.empty() ? std::string("NULL") : ids) + ")";
  if (!condition.empty()) *where += " AND (" + condition + ")";
  return fc;
}

void HostGeometryEnumerator::CloseStream() {
  if (m_stream && m_streamClass) m_streamClass->HostWorkspaceOf()->Dataset()->ReleaseResultSet(m_stream);
  m_stream = nullptr;
  m_streamClass.reset();
}

void HostGeometryEnumerator::Load() {
  m_shapes.clear();
  CloseStream();
  std::string where;
  if (auto fc = PostgisSource(&where)) {
    auto pg = std::static_pointer_cast<PostgisWorkspace>(fc->HostWorkspaceOf());
    const std::string from = " FROM " + pg->QualifiedTable(fc->Name()) + (where.empty() ? "" : " WHERE " + where);
    ResetOgrError();
    OGRLayer* stream = pg->Dataset()->ExecuteSQL(("SELECT " + SqlIdentifier(fc->ShapeFieldName()) + from).c_str(),
                                                 nullptr, nullptr);
    if (!stream) ThrowOgrError(err::InvalidCall, kGeometryEnumeratorProgId, Refused(where, fc->Name()));
    m_stream = stream;
    m_streamClass = fc;
    m_loaded = true;
    return;
  }
  if (auto fc = std::dynamic_pointer_cast<HostFeatureClass>(m_source)) {
    m_shapes = fc->ReadShapes(m_filter);
  } else if (auto set = std::dynamic_pointer_cast<SelectionSet>(m_source)) {
    FeatureCursorPtr cursor = set->Search(m_filter, false);
    while (FeaturePtr f = cursor->NextFeature()) m_shapes.push_back(f->Shape());
  } else {
    throw HostError(err::ObjectRequired, kGeometryEnumeratorProgId, "The enumerator is not bound to any shapes");
  }
  m_loaded = true;
}

void HostGeometryEnumerator::Reset() {
  Load();
  m_next = 0;
}

GeometryPtr HostGeometryEnumerator::Next() {
  if (!m_loaded) Load();
  if (m_stream) {
    ResetOgrError();
    while (std::unique_ptr<OGRFeature> f{m_stream->GetNextFeature()}) {
      std::unique_ptr<OGRGeometry> g(f->StealGeometry());
      if (g) return GeometryFromOgr(std::move(g), m_streamClass->ShapeType(), m_streamClass->SpatialReference());
    }
    const bool failed = CPLGetLastErrorType() >= CE_Failure;
    const std::string table = m_streamClass->Name();
    CloseStream();
    if (failed) ThrowOgrError(gisErr::DataAccess, kGeometryEnumeratorProgId, "The shapes of \"" + table + "\" cannot be read");
    return nullptr;
  }
  if (m_next >= m_shapes.size()) return nullptr;
  return m_shapes[m_next++];
}

long HostGeometryEnumerator::Count() {
  std::string where;
  if (auto fc = PostgisSource(&where)) {
    // Counted by the server; the shapes stay there.
    auto pg = std::static_pointer_cast<PostgisWorkspace>(fc->HostWorkspaceOf());
    const auto count = pg->QueryText("SELECT count(*) FROM " + pg->QualifiedTable(fc->Name()) +
                                     (where.empty() ? "" : " WHERE " + where));
    return count ? std::stol(*count) : 0;
  }
  if (!m_loaded) Load();
  return static_cast<long>(m_shapes.size());
}

std::unique_ptr<OGRGeometry> HostGeometryEnumerator::ServerUnion(SpatialReferencePtr* system) {
  std::string where;
  auto fc = PostgisSource(&where);
  if (!fc) return nullptr;
  auto pg = std::static_pointer_cast<PostgisWorkspace>(fc->HostWorkspaceOf());
  const std::string from = " FROM " + pg->QualifiedTable(fc->Name()) + (where.empty() ? "" : " WHERE " + where);
  double overlap = 0;
  const char* site = std::getenv(kUnionSiteVariable);
  if (!site || (std::strcmp(site, "server") != 0 && std::strcmp(site, "local") != 0)) {
    // How much of the area of a few of the shapes overlaps others of them:
    // a sample is enough to tell a coverage from overlapping shapes.
    const std::string table = pg->QualifiedTable(fc->Name());
    const std::string oid = SqlIdentifier(fc->OIDFieldName()), shape = SqlIdentifier(fc->ShapeFieldName());
    const std::string sql =
        "WITH probe AS (SELECT " + oid + " AS id, " + shape + " AS g" + from + " LIMIT 32) "
        "SELECT (SELECT coalesce(sum(ST_Area(ST_Intersection(a.g, b." + shape + "))), 0) FROM probe a JOIN " + table +
        " b ON b." + shape + " && a.g AND b." + oid + " <> a.id AND ST_Relate(a.g, b." + shape + ", '2********')" +
        (where.empty() ? std::string() : " WHERE b." + oid + " IN (SELECT " + oid + from + ")") +
        ") / NULLIF((SELECT sum(ST_Area(g)) FROM probe), 0)";
    try {
      overlap = std::stod(pg->QueryText(sql).value_or("0"));
    } catch (const std::exception&) {
      return nullptr; // the host's own reading says what is wrong
    }
  }
  if (!ServerUnionPreferred(overlap)) return nullptr;
  // As plain WKB: for a geometry column the driver would run the union a
  // second time to learn its system.
  const std::string sql = "SELECT ST_AsBinary(ST_Union(" + SqlIdentifier(fc->ShapeFieldName()) + ")) AS tov_union" + from;
  GDALDataset* ds = pg->Dataset();
  ResetOgrError();
  OGRLayer* result = ds->ExecuteSQL(sql.c_str(), nullptr, nullptr);
  if (!result) ThrowOgrError(err::InvalidCall, kGeometryEnumeratorProgId, Refused(where, fc->Name()));
  std::unique_ptr<OGRFeature> f(result->GetNextFeature());
  std::unique_ptr<OGRGeometry> united;
  bool failed = CPLGetLastErrorType() >= CE_Failure;
  if (f && !failed && f->GetFieldCount() > 0 && f->IsFieldSetAndNotNull(0)) {
    int size = 0;
    const GByte* wkb = f->GetFieldAsBinary(0, &size);
    OGRGeometry* g = nullptr;
    failed = OGRGeometryFactory::createFromWkb(wkb, nullptr, &g, size) != OGRERR_NONE;
    united.reset(g);
  }
  ds->ReleaseResultSet(result);
  if (failed) ThrowOgrError(gisErr::GeometryFailed, kGeometryEnumeratorProgId, "The database cannot unite the shapes of \"" + fc->Name() + "\"");
  if (!united) united = std::make_unique<OGRMultiPolygon>();
  *system = fc->SpatialReference();
  return united;
}

} // namespace tov
