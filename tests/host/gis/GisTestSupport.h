#pragma once
#include "host/common/Paths.h"
#include "host/gis/RegisterHostGisClasses.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/Field.h"
#include "platform/gis/Fields.h"
#include "platform/gis/GeometryDef.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SpatialReference.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/gis/Workspace.h"
#include "platform/runtime/ObjectRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tov::test {

// A fresh temporary folder per test, removed afterwards.
class GisTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterHostGisClasses();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::temp_directory_path() /
            ("tov_gis_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string Native(const std::string& name = "") const { return name.empty() ? m_dir.string() : (m_dir / name).string(); }
  std::string Platform(const std::string& name = "") const { return ToPlatformPath(Native(name)); }

  std::filesystem::path m_dir;
};

inline SpatialReferencePtr Geographic(long code) {
  return CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateGeographicCoordinateSystem(code);
}

inline SpatialReferencePtr Projected(long code) {
  return CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment")->CreateProjectedCoordinateSystem(code);
}

inline PointPtr MakePoint(double x, double y) {
  auto p = CreateAs<Point>("orvaCore.Point");
  p->PutCoords(x, y);
  return p;
}

// A polygon through the points given (closed by Simplify).
inline PolygonPtr MakePolygon(const std::vector<std::pair<double, double>>& ring, SpatialReferencePtr sr = nullptr) {
  auto poly = CreateAs<Polygon>("orvaCore.Polygon");
  for (auto [x, y] : ring) poly->AddPoint(MakePoint(x, y));
  poly->SetSpatialReference(sr);
  return poly;
}

inline PolygonPtr Square(double x, double y, double size, SpatialReferencePtr sr = nullptr) {
  return MakePolygon({{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}, {x, y}}, std::move(sr));
}

// Fields of a polygon class: optional object id, the shape, and NAME.
inline FieldsPtr PolygonFields(const SpatialReferencePtr& sr, bool withOid) {
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  if (withOid) {
    auto oid = CreateAs<Field>("orvaCore.Field");
    oid->SetName("OID");
    oid->SetType(fieldTypeOID);
    oid->SetIsNullable(false);
    fields->AddField(oid);
  }
  auto shape = CreateAs<Field>("orvaCore.Field");
  shape->SetName("Shape");
  shape->SetType(fieldTypeGeometry);
  auto def = CreateAs<GeometryDef>("orvaCore.GeometryDef");
  def->SetGeometryType(geometryPolygon);
  def->SetGridCount(1);
  def->SetGridSize(0, 10);
  def->SetSpatialReference(sr);
  shape->SetGeometryDef(def);
  fields->AddField(shape);
  auto name = CreateAs<Field>("orvaCore.Field");
  name->SetName("NAME");
  name->SetType(fieldTypeString);
  name->SetLength(40);
  fields->AddField(name);
  return fields;
}

} // namespace tov::test
