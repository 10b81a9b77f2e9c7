#include "GisTestSupport.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostWorkspace.h"

namespace tov::test {
namespace {

class WorkspaceTest : public GisTest {
protected:
  WorkspacePtr OpenWorkspace(bool geoPackage) {
    if (!geoPackage) return CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform());
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    const std::string path = factory->Create(Platform(), "Area", nullptr);
    EXPECT_EQ(path, Platform("Area.gpkg"));
    return factory->OpenFromFile(path);
  }

  FeatureClassPtr CreateAreas(bool geoPackage) {
    WorkspacePtr ws = OpenWorkspace(geoPackage);
    FeatureClassPtr fc = ws->CreateFeatureClass("Area", PolygonFields(Geographic(4269), geoPackage), kFeatureClassClsid,
                                                "", featureTypeSimple, "Shape", "");
    const char* names[] = {"West", "East", "O'Hare"};
    for (int i = 0; i < 3; ++i) {
      FeaturePtr f = fc->CreateFeature();
      f->SetShape(Square(-90 + i, 40, 1, Geographic(4269)));
      f->SetValue(fc->FindField("NAME"), names[i]);
      f->Store();
    }
    return fc;
  }

  static IndexPtr SpatialIndexOf(const FeatureClassPtr& fc) {
    auto fields = CreateAs<Fields>("orvaCore.Fields");
    fields->AddField(fc->Fields()->Field(fc->FindField(fc->ShapeFieldName())));
    auto index = CreateAs<Index>("orvaCore.Index");
    index->SetName("Idx_1");
    index->SetFields(fields);
    return index;
  }

  void RoundTrip(bool geoPackage) {
    FeatureClassPtr created = CreateAreas(geoPackage);
    const std::string path = created->Workspace()->PathName();
    created.reset();

    auto factory = CreateAs<WorkspaceFactory>(geoPackage ? "orvaCore.AccessWorkspaceFactory"
                                                         : "orvaCore.ShapefileWorkspaceFactory");
    FeatureClassPtr fc = factory->OpenFromFile(path)->OpenFeatureClass("Area");
    EXPECT_EQ(fc->ShapeType(), geometryPolygon);
    EXPECT_EQ(fc->SpatialReference()->FactoryCode(), 4269);
    EXPECT_EQ(fc->FeatureCount(nullptr), 3);
    if (geoPackage) {
      EXPECT_EQ(fc->OIDFieldName(), "OID");
    }
    EXPECT_EQ(fc->Fields()->Field(0)->Type(), fieldTypeOID);

    auto filter = CreateAs<QueryFilter>("orvaCore.QueryFilter");
    filter->SetWhereClause("(NAME= 'O''Hare') OR (NAME= 'West')");
    filter->SetSubFields("Shape, NAME");
    FeatureCursorPtr cursor = fc->Search(filter, true);
    const long nameIndex = cursor->FindField("NAME");
    std::vector<std::string> names;
    while (FeaturePtr f = cursor->NextFeature()) {
      names.push_back(f->Value(nameIndex).ToString());
      EXPECT_NEAR(std::dynamic_pointer_cast<Polygon>(f->Shape())->Area(), 1.0, 1e-9);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"West", "O'Hare"}));

    // The update cursor writes a new shape back.
    FeatureCursorPtr update = fc->Update(nullptr, false);
    FeaturePtr first = update->NextFeature();
    first->SetShape(Square(-90, 40, 2, Geographic(4269)));
    update->UpdateFeature(first);
    EXPECT_NEAR(fc->Extent()->Width(), 3.0, 1e-9);
    EXPECT_NEAR(std::dynamic_pointer_cast<Polygon>(fc->GetFeature(first->OID())->Shape())->Area(), 4.0, 1e-9);

    // The first spatial index is added, the second refused.
    EXPECT_FALSE(fc->HasSpatialIndex());
    fc->AddIndex(SpatialIndexOf(fc));
    EXPECT_TRUE(fc->HasSpatialIndex());
    try {
      fc->AddIndex(SpatialIndexOf(fc));
      FAIL() << "a second spatial index was added";
    } catch (const HostError& e) {
      EXPECT_NE(e.Number(), 0);
      EXPECT_NE(e.Description().find("Area"), std::string::npos);
    }
  }
};

TEST_F(WorkspaceTest, ShapefileRoundTrip) { RoundTrip(false); }

TEST_F(WorkspaceTest, GeoPackageRoundTripWithObjectIdField) { RoundTrip(true); }

// Names with a quote and an apostrophe, in the class name and in the values a
// where clause looks for, go through every statement the host builds.
class QuotedNamesTest : public WorkspaceTest, public ::testing::WithParamInterface<bool> {};

TEST_P(QuotedNamesTest, AClassNamedWithQuotesIsSearchedAndIndexed) {
  const bool geoPackage = GetParam();
  WorkspacePtr ws = OpenWorkspace(geoPackage);
  // A shapefile's name cannot hold a double quote: refused, not renamed.
  if (!geoPackage) {
    EXPECT_THROW(ws->CreateFeatureClass("Say \"Hi\"", PolygonFields(Geographic(4269), false), kFeatureClassClsid, "",
                                        featureTypeSimple, "Shape", ""),
                 HostError);
  }
  const std::string className = geoPackage ? "Joe's \"Best\" Areas" : "Joe's Best Areas";
  FeatureClassPtr fc = ws->CreateFeatureClass(className, PolygonFields(Geographic(4269), geoPackage),
                                              kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  const char* names[] = {"O'Brien, IA", "Say \"Hi\"", "Plain"};
  for (int i = 0; i < 3; ++i) {
    FeaturePtr f = fc->CreateFeature();
    f->SetShape(Square(-96 + i, 42, 1, Geographic(4269)));
    f->SetValue(fc->FindField("NAME"), names[i]);
    f->Store();
  }
  fc = ws->OpenFeatureClass(className);

  auto filter = CreateAs<QueryFilter>("orvaCore.QueryFilter");
  filter->SetWhereClause("NAME = 'O''Brien, IA'");
  FeatureCursorPtr cursor = fc->Search(filter, false);
  FeaturePtr found = cursor->NextFeature();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Value(fc->FindField("NAME")).ToString(), "O'Brien, IA");
  EXPECT_FALSE(cursor->NextFeature());

  EXPECT_FALSE(fc->HasSpatialIndex());
  fc->AddIndex(SpatialIndexOf(fc));
  EXPECT_TRUE(fc->HasSpatialIndex());
  try {
    fc->AddIndex(SpatialIndexOf(fc));
    FAIL() << "a second spatial index was added";
  } catch (const HostError& e) {
    EXPECT_EQ(e.Number(), gisErr::IndexExists) << e.Description();
  }

  auto nameFields = CreateAs<Fields>("orvaCore.Fields");
  nameFields->AddField(fc->Fields()->Field(fc->FindField("NAME")));
  auto nameIndex = CreateAs<Index>("orvaCore.Index");
  nameIndex->SetName("Joe's \"name\" index");
  nameIndex->SetFields(nameFields);
  fc->AddIndex(nameIndex);
  EXPECT_EQ(fc->FeatureCount(filter), 1);

  fc->Delete();
  EXPECT_FALSE(ws->FeatureClassExists(className));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, QuotedNamesTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "GeoPackage" : "Shapefile"; });

TEST_F(WorkspaceTest, FactoriesCompareByClassIdentifier) {
  auto shp = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory");
  auto gpkg = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  EXPECT_NE(shp->ClassID(), gpkg->ClassID());
  EXPECT_EQ(OpenWorkspace(true)->WorkspaceFactory()->ClassID(), gpkg->ClassID());
  EXPECT_THROW(gpkg->Create(Platform(), "Area", nullptr), HostError); // already there
}

TEST_F(WorkspaceTest, SelectionSetsAndGeometryEnumerators) {
  FeatureClassPtr fc = CreateAreas(true);
  auto filter = CreateAs<QueryFilter>("orvaCore.QueryFilter");
  filter->SetWhereClause("NAME <> 'East'");
  SelectionSetPtr set = fc->Select(filter, selectionTypeIDSet, selectionOptionNormal, nullptr);
  EXPECT_EQ(set->Count(), 2);

  auto onlyWest = CreateAs<QueryFilter>("orvaCore.QueryFilter");
  onlyWest->SetWhereClause("NAME = 'West'");
  long found = 0;
  for (FeatureCursorPtr c = set->Search(onlyWest, false); c->NextFeature();) ++found;
  EXPECT_EQ(found, 1);

  auto shapes = CreateAs<GeometryEnumerator>("orvaCore.GeometryEnumerator");
  shapes->BindGeometrySource(CreateAs<QueryFilter>("orvaCore.QueryFilter"), set);
  auto united = CreateAs<Polygon>("orvaCore.Polygon");
  united->ConstructUnion(shapes);
  EXPECT_EQ(united->PartCount(), 2); // West and O'Hare do not touch
  EXPECT_NEAR(united->Area(), 2.0, 1e-9);

  shapes->BindGeometrySource(nullptr, fc);
  united->ConstructUnion(shapes);
  EXPECT_EQ(united->PartCount(), 1);
  EXPECT_EQ(united->SpatialReference()->FactoryCode(), 4269);
}

TEST_F(WorkspaceTest, BadRequestsGiveClearErrors) {
  FeatureClassPtr fc = CreateAreas(false);
  auto bad = CreateAs<QueryFilter>("orvaCore.QueryFilter");
  bad->SetWhereClause("NOSUCHFIELD = 1");
  EXPECT_THROW(fc->Search(bad, false), HostError);
  EXPECT_THROW(fc->Workspace()->OpenFeatureClass("Missing"), HostError);
  EXPECT_THROW(CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform("none")), HostError);
  FeaturePtr f = fc->CreateFeature();
  EXPECT_THROW(f->SetShape(MakePoint(1, 1)), HostError);

  fc->Delete();
  EXPECT_FALSE(std::filesystem::exists(m_dir / "Area.shp"));
}

TEST_F(WorkspaceTest, StoringWhileACursorReadsTheSameGeoPackageKeepsItsPlace) {
  FeatureClassPtr fc = CreateAreas(true);
  FeatureCursorPtr cursor = fc->Search(nullptr, false);
  int seen = 0;
  while (FeaturePtr f = cursor->NextFeature()) {
    f->SetValue(fc->FindField("NAME"), "Seen");
    f->Store();
    FeaturePtr extra = fc->CreateFeature();
    extra->SetShape(Square(0, 0, 1, Geographic(4269)));
    extra->Store();
    if (++seen > 10) break; // a cursor restarted by the edit would never end
  }
  EXPECT_LE(seen, 6);
  EXPECT_EQ(fc->FeatureCount(nullptr), 3 + seen);
}

TEST_F(WorkspaceTest, ManyRowsAreReadOnceInOrderWithoutDeletedOnesAndFoundByALongCondition) {
  // More rows than a cursor fetches at once, in both formats.
  for (bool geoPackage : {true, false}) {
    WorkspacePtr ws = OpenWorkspace(geoPackage);
    FeatureClassPtr fc = ws->CreateFeatureClass(geoPackage ? "Many" : "many",
                                                PolygonFields(Geographic(4269), geoPackage), kFeatureClassClsid, "",
                                                featureTypeSimple, "Shape", "");
    const long nameIndex = fc->FindField("NAME");
    {
      // One commit for all the rows: a test, not a thousand syncs to disk.
      WorkspaceTransaction writing(*std::dynamic_pointer_cast<HostWorkspace>(ws));
      for (int i = 0; i < 1100; ++i) {
        FeaturePtr f = fc->CreateFeature();
        f->SetShape(Square(i * 0.01, 0, 0.01, Geographic(4269)));
        f->SetValue(nameIndex, "R" + std::to_string(i));
        f->Store();
      }
      writing.Commit("test", "the rows cannot be saved");
    }
    auto filter = CreateAs<QueryFilter>("orvaCore.QueryFilter");
    filter->SetWhereClause("NAME <> 'R5'");
    FeatureCursorPtr cursor = fc->Search(filter, true);
    // Deleted after the cursor opened, in a later batch.
    auto last = CreateAs<QueryFilter>("orvaCore.QueryFilter");
    last->SetWhereClause("NAME = 'R1050'");
    fc->Search(last, false)->NextFeature()->Delete();
    std::vector<std::string> names;
    double area = 0;
    while (FeaturePtr f = cursor->NextFeature()) {
      names.push_back(f->Value(nameIndex).ToString());
      area += std::dynamic_pointer_cast<Polygon>(f->Shape())->Area();
    }
    ASSERT_EQ(names.size(), 1098u) << geoPackage;
    EXPECT_EQ(names[5], "R6");
    EXPECT_EQ(names[1048], "R1049");
    EXPECT_EQ(names[1049], "R1051");
    EXPECT_EQ(names.back(), "R1099");
    EXPECT_NEAR(area, 1098 * 1e-4, 1e-9);

    // A thousand alternatives go past what SQLite takes in one condition;
    // the rows are found all the same, for a selection and for shapes.
    std::string clause;
    for (int i = 0; i < 1040; ++i) clause += (i ? " OR " : "") + std::string("(NAME= 'R") + std::to_string(i) + "')";
    auto many = CreateAs<QueryFilter>("orvaCore.QueryFilter");
    many->SetWhereClause(clause);
    EXPECT_EQ(fc->Select(many, selectionTypeIDSet, selectionOptionNormal, nullptr)->Count(), 1040) << geoPackage;
    auto shapes = CreateAs<GeometryEnumerator>("orvaCore.GeometryEnumerator");
    shapes->BindGeometrySource(many, fc);
    EXPECT_EQ(shapes->Count(), 1040) << geoPackage;
    many->SetWhereClause(clause + " OR (NOSUCHFIELD = 1)");
    EXPECT_THROW(fc->Search(many, false), HostError);
  }
}

TEST_F(WorkspaceTest, ARefusedFieldLeavesNoHalfMadeGeoPackageTable) {
  WorkspacePtr ws = OpenWorkspace(true);
  FieldsPtr fields = PolygonFields(Geographic(4269), true);
  auto twin = CreateAs<Field>("orvaCore.Field");
  twin->SetName("OID"); // the object id column, as text
  twin->SetType(fieldTypeString);
  fields->AddField(twin);
  EXPECT_THROW(ws->CreateFeatureClass("Twins", fields, kFeatureClassClsid, "", featureTypeSimple, "Shape", ""), HostError);
  EXPECT_FALSE(ws->FeatureClassExists("Twins"));
  // The workspace is still usable for the next edit.
  FeatureClassPtr fc = ws->CreateFeatureClass("Area", PolygonFields(Geographic(4269), true), kFeatureClassClsid, "",
                                              featureTypeSimple, "Shape", "");
  FeaturePtr f = fc->CreateFeature();
  f->SetShape(Square(0, 0, 1, Geographic(4269)));
  f->Store();
  EXPECT_EQ(fc->FeatureCount(nullptr), 1);
}

} // namespace
} // namespace tov::test
