#include "host/gis/HostFeature.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Fields.h"
#include "platform/gis/Geometry.h"

#include <ogr_geometry.h>

namespace tov {

namespace {
const char kSource[] = "orvaCore.Feature";
}

HostFeature::HostFeature(HostFeatureClassPtr featureClass, std::unique_ptr<OGRFeature> feature)
    : m_class(std::move(featureClass)), m_feature(std::move(feature)) {
  if (!m_feature) m_feature.reset(new OGRFeature(m_class->Layer()->GetLayerDefn()));
}

long HostFeature::OID() const {
  const GIntBig fid = m_feature->GetFID();
  return fid == OGRNullFID ? -1 : static_cast<long>(fid);
}

FieldsPtr HostFeature::Fields() const { return m_class->Fields(); }

void HostFeature::CheckIndex(long index) const {
  if (index < 0 || index >= m_class->Fields()->FieldCount())
    throw HostError(err::SubscriptOutOfRange, kSource,
                    "The feature class \"" + m_class->Name() + "\" has no field number " + std::to_string(index));
}

Variant HostFeature::Value(long index) const {
  CheckIndex(index);
  if (index == 0) return Variant(static_cast<int>(OID()));
  if (index == 1) return Variant(Shape());
  const int i = static_cast<int>(index - 2);
  if (!m_feature->IsFieldSetAndNotNull(i)) return Variant();
  switch (m_feature->GetFieldDefnRef(i)->GetType()) {
  case OFTInteger: return Variant(m_feature->GetFieldAsInteger(i));
  case OFTInteger64: {
    const GIntBig v = m_feature->GetFieldAsInteger64(i);
    if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int>(v));
    return Variant(static_cast<double>(v));
  }
  case OFTReal: return Variant(m_feature->GetFieldAsDouble(i));
  default: return Variant(std::string(m_feature->GetFieldAsString(i)));
  }
}

void HostFeature::SetValue(long index, const Variant& value) {
  CheckIndex(index);
  if (index == 0) throw HostError(err::InvalidCall, kSource, "The object id of a feature cannot be changed");
  if (index == 1) {
    SetShape(value.ToObjectAs<Geometry>());
    return;
  }
  const int i = static_cast<int>(index - 2);
  if (value.IsEmpty()) {
    m_feature->SetFieldNull(i);
    return;
  }
  switch (m_feature->GetFieldDefnRef(i)->GetType()) {
  case OFTInteger:
  case OFTInteger64: m_feature->SetField(i, static_cast<GIntBig>(value.ToLong())); break;
  case OFTReal: m_feature->SetField(i, value.ToDouble()); break;
  default: m_feature->SetField(i, value.ToString().c_str()); break;
  }
}

GeometryPtr HostFeature::Shape() const {
  if (!m_shape) m_shape = GeometryFromOgr(m_feature->GetGeometryRef(), m_class->ShapeType(), m_class->SpatialReference());
  return m_shape;
}

GeometryPtr HostFeature::ShapeCopy() const { return Shape()->Copy(); }

void HostFeature::SetShape(const GeometryPtr& geometry) {
  if (!geometry) {
    m_shape = GeometryFromOgr(nullptr, m_class->ShapeType(), m_class->SpatialReference());
    return;
  }
  const long wanted = m_class->ShapeType();
  const long given = geometry->GeometryType() == geometryEnvelope ? geometryPolygon : geometry->GeometryType();
  if (given != wanted)
    throw HostError(err::TypeMismatch, kSource,
                    "The shape does not fit the feature class \"" + m_class->Name() + "\" (geometry type " +
                        std::to_string(geometry->GeometryType()) + " given, " + std::to_string(wanted) + " expected)");
  GeometryPtr copy = geometry->Copy();
  if (geometry->GeometryType() == geometryEnvelope) {
    auto ogr = OgrGeometryOf(copy);
    copy = GeometryFromOgr(ogr.get(), geometryPolygon, geometry->SpatialReference());
  }
  if (copy->SpatialReference() && m_class->SpatialReference()) copy->Project(m_class->SpatialReference());
  else copy->SetSpatialReference(m_class->SpatialReference());
  m_shape = copy;
}

EnvelopePtr HostFeature::Extent() const { return Shape()->Envelope(); }

void HostFeature::Store() {
  OGRLayer* layer = m_class->Layer();
  if (m_shape) {
    std::unique_ptr<OGRGeometry> g = m_shape->IsEmpty() ? nullptr : OgrGeometryOf(m_shape);
    if (g) {
      const long type = m_class->ShapeType();
      if (type == geometryPolygon) g.reset(OGRGeometryFactory::forceToMultiPolygon(g.release()));
      else if (type == geometryPolyline) g.reset(OGRGeometryFactory::forceToMultiLineString(g.release()));
      g->assignSpatialReference(layer->GetSpatialRef());
    }
    m_feature->SetGeometryDirectly(g.release());
  }
  WorkspaceTransaction transaction(*m_class->HostWorkspaceOf());
  ResetOgrError();
  const bool isNew = m_feature->GetFID() == OGRNullFID;
  const OGRErr e = isNew ? layer->CreateFeature(m_feature.get()) : layer->SetFeature(m_feature.get());
  CheckOgr(e, kSource, "The feature cannot be written to \"" + m_class->Name() + "\"");
  if (!isNew) RecomputeExtent();
  if (m_class->HostWorkspaceOf()->Kind() == WorkspaceKind::Shapefile) layer->SyncToDisk();
  transaction.Commit(kSource, "The feature cannot be saved in \"" + m_class->Name() + "\"");
  m_class->NoteEdit();
}

// A shapefile's header, and a GeoPackage's table of contents, keep the
// bounds of every shape ever written: a shape made smaller or deleted leaves
// them too wide, and the layer's extent with them, unlike a copy of the same
// features. The statement takes the name unquoted: one with a space keeps
// its bounds.
void HostFeature::RecomputeExtent() {
  const std::string& name = m_class->Name();
  if (name.find_first_of(" \t\"") != std::string::npos) return;
  const std::string sql = "RECOMPUTE EXTENT ON " + name;
  GDALDataset* dataset = m_class->HostWorkspaceOf()->Dataset();
  if (OGRLayer* result = dataset->ExecuteSQL(sql.c_str(), nullptr, nullptr)) dataset->ReleaseResultSet(result);
}

void HostFeature::Delete() {
  if (OID() < 0) return;
  ResetOgrError();
  CheckOgr(m_class->Layer()->DeleteFeature(OID()), kSource,
           "The feature " + std::to_string(OID()) + " cannot be deleted from \"" + m_class->Name() + "\"");
  RecomputeExtent();
  m_class->NoteEdit();
}

} // namespace tov
