#include "GisTestSupport.h"

namespace tov::test {
namespace {

using FeatureDataTest = GisTest;

FieldsPtr MixedFields(long geometryType, const SpatialReferencePtr& sr) {
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  fields->AddField(ShapeField(geometryType, sr));
  for (auto [name, type] : std::vector<std::pair<const char*, long>>{
           {"COUNT", fieldTypeInteger}, {"SHARE", fieldTypeDouble}, {"LABEL", fieldTypeString}}) {
    auto f = CreateAs<Field>("orvaCore.Field");
    f->SetName(name);
    f->SetType(type);
    fields->AddField(f);
  }
  return fields;
}

TEST_F(FeatureDataTest, ValuesKeepTheirTypesAndNullsStayEmpty) {
  FeatureClassPtr fc = NewGeoPackage("Sites")->CreateFeatureClass("Sites", MixedFields(geometryPoint, Geographic(4326)), kFeatureClassClsid,
                                              "", featureTypeSimple, "Shape", "");
  EXPECT_EQ(fc->ShapeType(), geometryPoint);
  FeaturePtr f = fc->CreateFeature();
  EXPECT_EQ(f->OID(), -1);
  PointPtr site = MakePoint(-87.6, 41.9);
  site->SetSpatialReference(Geographic(4326));
  f->SetShape(site);
  f->SetValue(fc->FindField("count"), 42); // field names without regard to case
  f->SetValue(fc->FindField("SHARE"), 0.25);
  f->Store();
  EXPECT_GE(f->OID(), 1);

  FeaturePtr back = fc->GetFeature(f->OID());
  EXPECT_EQ(back->Value(fc->FindField("COUNT")).ToLong(), 42);
  EXPECT_DOUBLE_EQ(back->Value(fc->FindField("SHARE")).ToDouble(), 0.25);
  EXPECT_TRUE(back->Value(fc->FindField("LABEL")).IsEmpty());
  EXPECT_EQ(back->Value(0).ToLong(), f->OID());
  auto point = std::dynamic_pointer_cast<Point>(back->ShapeCopy());
  ASSERT_TRUE(point);
  EXPECT_DOUBLE_EQ(point->X(), -87.6);
  EXPECT_THROW(back->Value(99), HostError);
  EXPECT_THROW(back->SetValue(0, 5), HostError); // the id is not writable
  EXPECT_THROW(fc->GetFeature(9999), HostError);
}

TEST_F(FeatureDataTest, ShapesAreProjectedIntoTheClassSystemAndEnvelopesBecomePolygons) {
  FeatureClassPtr fc = PolygonClass(Shapefiles(), "Albers", Projected(5070), false);
  FeaturePtr f = fc->CreateFeature();
  f->SetShape(Box(-96.1, 22.9, -95.9, 23.1, Geographic(4269)));
  f->Store();
  EnvelopePtr stored = fc->Extent();
  EXPECT_EQ(stored->SpatialReference()->FactoryCode(), 5070);
  EXPECT_NEAR((stored->XMin() + stored->XMax()) / 2, 0.0, 1.0); // around the origin, in metres
  EXPECT_GT(stored->Width(), 15000);
}

TEST_F(FeatureDataTest, AttributeIndexAndDeletingRowsAndWorkspaces) {
  WorkspacePtr ws = NewGeoPackage("Zones");
  const std::string path = ws->PathName();
  FeatureClassPtr fc = PolygonClass(ws, "Zones", Geographic(4269), true);
  EXPECT_THROW(PolygonClass(ws, "Zones", Geographic(4269), true), HostError);
  AddSquares(fc, {"a", "b", "c"}, 0, 0, nullptr);
  IndexPtr index = IndexOn(fc, "NAME", "Idx_Name");
  fc->AddIndex(index);
  EXPECT_THROW(fc->AddIndex(index), HostError);
  EXPECT_FALSE(fc->HasSpatialIndex());

  FeatureCursorPtr update = fc->Update(nullptr, false);
  ASSERT_TRUE(update->NextFeature());
  update->DeleteFeature();
  EXPECT_EQ(fc->FeatureCount(nullptr), 2);

  fc.reset();
  ws->Delete();
  EXPECT_FALSE(std::filesystem::exists(ToNativePath(path)));
  EXPECT_THROW(ws->FeatureClassNames(), HostError);
}

TEST_F(FeatureDataTest, PolylinesDensifyGeneralizeAndProject) {
  auto line = CreateAs<Polyline>("orvaCore.Polyline");
  line->AddPoint(MakePoint(0, 0));
  line->AddPoint(MakePoint(10, 0));
  line->StartNewPart();
  line->AddPoint(MakePoint(0, 5));
  line->AddPoint(MakePoint(0, 6));
  EXPECT_EQ(line->PartCount(), 2);
  EXPECT_DOUBLE_EQ(line->Length(), 11);
  line->Densify(1, 0);
  EXPECT_EQ(line->PointCount(), 13);
  line->Generalize(0.01);
  EXPECT_EQ(line->PointCount(), 4);

  line->SetSpatialReference(Geographic(4326));
  line->Project(Projected(3857));
  EXPECT_NEAR(line->Envelope()->XMax(), 1113194.9, 0.1);
  EXPECT_THROW(line->Point(4), HostError);
}

TEST_F(FeatureDataTest, ProjectingWithoutASystemOnlyAssignsIt) {
  PolygonPtr p = Square(1, 2, 3);
  p->Project(Geographic(4326));
  EXPECT_EQ(p->SpatialReference()->FactoryCode(), 4326);
  EXPECT_DOUBLE_EQ(p->Envelope()->XMin(), 1);
  PointPtr far = MakePoint(0, 95); // beyond the pole
  far->SetSpatialReference(Geographic(4326));
  EXPECT_THROW(far->Project(Projected(3857)), HostError);
}

} // namespace
} // namespace tov::test
