#pragma once
// Small shapes, systems and field lists that tests of every layer build
// through the host's own classes (registered by the test's set-up).
#include "Prelude.h"

namespace tov::test {

inline SpatialReferencePtr Geographic(long code) {
  return CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateGeographicCoordinateSystem(code);
}

inline SpatialReferencePtr Projected(long code) {
  return CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateProjectedCoordinateSystem(code);
}

// A point, in `sr` when one is given.
inline PointPtr MakePoint(double x, double y, const SpatialReferencePtr& sr = nullptr) {
  auto p = CreateAs<Point>("orvaCore.Point");
  p->PutCoords(x, y);
  if (sr) p->SetSpatialReference(sr);
  return p;
}

// A polygon through the points given (closed by Simplify).
inline PolygonPtr MakePolygon(const std::vector<std::pair<double, double>>& ring, SpatialReferencePtr sr = nullptr) {
  auto poly = CreateAs<Polygon>("orvaCore.Polygon");
  for (auto [x, y] : ring) poly->AddPoint(MakePoint(x, y));
  poly->SetSpatialReference(sr);
  return poly;
}

// Corners in clockwise order, as an outer ring is kept.
inline PolygonPtr Rectangle(double xmin, double ymin, double xmax, double ymax, SpatialReferencePtr sr = nullptr) {
  return MakePolygon({{xmin, ymin}, {xmin, ymax}, {xmax, ymax}, {xmax, ymin}, {xmin, ymin}}, std::move(sr));
}

inline PolygonPtr Square(double x, double y, double size, SpatialReferencePtr sr = nullptr) {
  return Rectangle(x, y, x + size, y + size, std::move(sr));
}

// Square i of a row of 0.1 degree squares from -74.0 east at 40.6 north
// (NAD83), or its south-west quarter; in the analysis system (EPSG:5070).
inline PolygonPtr RowSquare(size_t i, bool quarter = false, bool projected = false) {
  PolygonPtr square = Square(-74.0 + 0.1 * static_cast<double>(i), 40.6, quarter ? 0.05 : 0.1, Geographic(4269));
  if (projected) square->Project(Projected(5070));
  return square;
}

// A copy of a polygon in NAD83 degrees.
inline PolygonPtr InDegrees(const GeometryPtr& shape) {
  auto copy = As<Polygon>(shape->Copy());
  copy->Project(Geographic(4269));
  return copy;
}

// The geometry field "Shape" of the given type in `sr`.
inline FieldPtr ShapeField(long geometryType, const SpatialReferencePtr& sr) {
  auto shape = CreateAs<Field>("orvaCore.Field");
  shape->SetName("Shape");
  shape->SetType(fieldTypeGeometry);
  auto def = CreateAs<GeometryDef>("orvaCore.GeometryDef");
  def->SetGeometryType(geometryType);
  def->SetGridCount(1);
  def->SetGridSize(0, 10);
  def->SetSpatialReference(sr);
  shape->SetGeometryDef(def);
  return shape;
}

inline FieldPtr TextField(const std::string& name, long length) {
  auto field = CreateAs<Field>("orvaCore.Field");
  field->SetName(name);
  field->SetType(fieldTypeString);
  field->SetLength(length);
  return field;
}

// Fields of a class of one shape type: an optional object id "OID" and the shape.
inline FieldsPtr ShapeFields(long geometryType, const SpatialReferencePtr& sr, bool withOid) {
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  if (withOid) {
    auto oid = CreateAs<Field>("orvaCore.Field");
    oid->SetName("OID");
    oid->SetType(fieldTypeOID);
    oid->SetIsNullable(false);
    fields->AddField(oid);
  }
  fields->AddField(ShapeField(geometryType, sr));
  return fields;
}

// Fields of a polygon class: optional object id "OID", the shape, and NAME.
inline FieldsPtr PolygonFields(const SpatialReferencePtr& sr, bool withOid) {
  FieldsPtr fields = ShapeFields(geometryPolygon, sr, withOid);
  fields->AddField(TextField("NAME", 40));
  return fields;
}

} // namespace tov::test
