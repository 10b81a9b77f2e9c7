#include "GisTestSupport.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostWorkspace.h"
#include "host/gis/PostgisWorkspace.h"

#include <gdal_priv.h>

#include <cstdio>

namespace tov::test {
namespace {

class WorkspaceTest : public GisTest {
protected:
  WorkspacePtr OpenWorkspace(bool geoPackage) {
    if (!geoPackage) return Shapefiles();
    WorkspacePtr ws = NewGeoPackage();
    EXPECT_EQ(ws->PathName(), Platform("Area.gpkg"));
    return ws;
  }

  FeatureClassPtr CreateAreas(bool geoPackage) {
    FeatureClassPtr fc = PolygonClass(OpenWorkspace(geoPackage), "Area", Geographic(4269), geoPackage);
    AddSquares(fc, {"West", "East", "O'Hare"}, -90, 40, Geographic(4269));
    return fc;
  }

  // The first spatial index is added, the second refused naming the class.
  static void ExpectOneSpatialIndex(const FeatureClassPtr& fc, const std::string& className) {
    EXPECT_FALSE(fc->HasSpatialIndex());
    fc->AddIndex(IndexOn(fc, fc->ShapeFieldName(), "Idx_1"));
    EXPECT_TRUE(fc->HasSpatialIndex());
    const Raised second = ErrorOf([&] { fc->AddIndex(IndexOn(fc, fc->ShapeFieldName(), "Idx_1")); });
    EXPECT_EQ(second.number, gisErr::IndexExists) << second.description;
    EXPECT_TRUE(Has(second.description, className)) << second.description;
  }

  void RoundTrip(bool geoPackage) {
    FeatureClassPtr created = CreateAreas(geoPackage);
    const std::string path = created->Workspace()->PathName();
    created.reset();

    auto factory = CreateAs<WorkspaceFactory>(geoPackage ? "orvaCore.AccessWorkspaceFactory"
                                                         : "orvaCore.ShapefileWorkspaceFactory");
    FeatureClassPtr fc = factory->OpenFromFile(path)->OpenFeatureClass("Area");
    EXPECT_EQ((std::vector<long>{fc->ShapeType(), fc->SpatialReference()->FactoryCode(), fc->FeatureCount(nullptr)}),
              (std::vector<long>{geometryPolygon, 4269, 3}));
    if (geoPackage) { EXPECT_EQ(fc->OIDFieldName(), "OID"); }
    EXPECT_EQ(fc->Fields()->Field(0)->Type(), fieldTypeOID);

    QueryFilterPtr filter = Where("(NAME= 'O''Hare') OR (NAME= 'West')");
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
    // The extent shrinks with the shapes, in the file as read again.
    update->NextFeature();
    FeaturePtr east = update->NextFeature();
    east->SetShape(Square(-89, 40, 1, Geographic(4269)));
    update->UpdateFeature(east);
    EXPECT_NEAR(fc->Extent()->Width(), 2.0, 1e-9);
    first->Delete();
    EXPECT_NEAR(factory->OpenFromFile(path)->OpenFeatureClass("Area")->Extent()->Width(), 1.0, 1e-9);
    ExpectOneSpatialIndex(fc, "Area");
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
  if (!geoPackage) { EXPECT_THROW(PolygonClass(ws, "Say \"Hi\"", Geographic(4269), false), HostError); }
  const std::string className = geoPackage ? "Joe's \"Best\" Areas" : "Joe's Best Areas";
  AddSquares(PolygonClass(ws, className, Geographic(4269), geoPackage), {"O'Brien, IA", "Say \"Hi\"", "Plain"}, -96, 42,
             Geographic(4269));
  FeatureClassPtr fc = ws->OpenFeatureClass(className);

  QueryFilterPtr filter = Where("NAME = 'O''Brien, IA'");
  FeatureCursorPtr cursor = fc->Search(filter, false);
  FeaturePtr found = cursor->NextFeature();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Value(fc->FindField("NAME")).ToString(), "O'Brien, IA");
  EXPECT_FALSE(cursor->NextFeature());

  ExpectOneSpatialIndex(fc, className);
  fc->AddIndex(IndexOn(fc, "NAME", "Joe's \"name\" index"));
  EXPECT_EQ(fc->FeatureCount(filter), 1);

  fc->Delete();
  EXPECT_FALSE(ws->FeatureClassExists(className));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, QuotedNamesTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "GeoPackage" : "Shapefile"; });

TEST_F(WorkspaceTest, FactoriesCompareByClassIdentifier) {
  auto shp = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory");
  auto gpkg = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  EXPECT_TRUE(shp->ClassID() != gpkg->ClassID() &&
              OpenWorkspace(true)->WorkspaceFactory()->ClassID() == gpkg->ClassID());
  EXPECT_THROW(gpkg->Create(Platform(), "Area", nullptr), HostError); // already there
}

TEST_F(WorkspaceTest, SelectionSetsAndGeometryEnumerators) {
  FeatureClassPtr fc = CreateAreas(true);
  SelectionSetPtr set = fc->Select(Where("NAME <> 'East'"), selectionTypeIDSet, selectionOptionNormal, nullptr);
  EXPECT_EQ(set->Count(), 2);
  long found = 0;
  for (FeatureCursorPtr c = set->Search(Where("NAME = 'West'"), false); c->NextFeature();) ++found;
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
  EXPECT_THROW(fc->Search(Where("NOSUCHFIELD = 1"), false), HostError);
  EXPECT_THROW(fc->Workspace()->OpenFeatureClass("Missing"), HostError);
  EXPECT_THROW(CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform("none")), HostError);
  EXPECT_THROW(fc->CreateFeature()->SetShape(MakePoint(1, 1)), HostError);

  fc->Delete();
  EXPECT_FALSE(std::filesystem::exists(Native("Area.shp")));
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
    FeatureClassPtr fc = PolygonClass(ws, geoPackage ? "Many" : "many", Geographic(4269), geoPackage);
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
    FeatureCursorPtr cursor = fc->Search(Where("NAME <> 'R5'"), true);
    // Deleted after the cursor opened, in a later batch.
    fc->Search(Where("NAME = 'R1050'"), false)->NextFeature()->Delete();
    std::vector<std::string> names;
    double area = 0;
    while (FeaturePtr f = cursor->NextFeature()) {
      names.push_back(f->Value(nameIndex).ToString());
      area += std::dynamic_pointer_cast<Polygon>(f->Shape())->Area();
    }
    ASSERT_EQ(names.size(), 1098u) << geoPackage;
    EXPECT_EQ((std::vector<std::string>{names[5], names[1048], names[1049], names.back()}),
              (std::vector<std::string>{"R6", "R1049", "R1051", "R1099"}));
    EXPECT_NEAR(area, 1098 * 1e-4, 1e-9);

    // A thousand alternatives go past what SQLite takes in one condition;
    // the rows are found all the same, for a selection and for shapes.
    std::string clause;
    for (int i = 0; i < 1040; ++i) clause += (i ? " OR " : "") + std::string("(NAME= 'R") + std::to_string(i) + "')";
    QueryFilterPtr many = Where(clause);
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
  fields->AddField(TextField("OID", 10)); // the object id column, as text
  EXPECT_THROW(ws->CreateFeatureClass("Twins", fields, kFeatureClassClsid, "", featureTypeSimple, "Shape", ""), HostError);
  EXPECT_FALSE(ws->FeatureClassExists("Twins"));
  // The workspace is still usable for the next edit.
  FeatureClassPtr fc = PolygonClass(ws, "Area", Geographic(4269), true);
  AddSquares(fc, {"A"}, 0, 0, Geographic(4269));
  EXPECT_EQ(fc->FeatureCount(nullptr), 1);
}

// Connection strings of PostGIS data sets: the schemas they name, how they
// are shown, and a database that cannot be reached.
TEST(PostgisConnectionTest, SchemasArePickedFromEitherOptionAndPasswordsNeverShown) {
  using V = std::vector<std::string>;
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x"), V{});
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x schemas=a,b"), (V{"a", "b"}));
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:schemas=a dbname=x"), V{"a"});
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x active_schema='s t'"), V{"s t"});
  // An option whose name only ends the same is another option.
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x myschemas=a"), V{});

  EXPECT_EQ(PostgisWorkspace::Shown("PG:dbname=x password=secret host=h"), "PG:dbname=x password=... host=h");
  EXPECT_EQ(PostgisWorkspace::Shown("PG:dbname=x password='a b'"), "PG:dbname=x password=...");
  std::vector<bool> connections;
  for (const char* s : {"PG:dbname=x", "dbname=x", "PG:"})
    connections.push_back(PostgisWorkspace::IsConnectionString(s));
  EXPECT_EQ(connections, (std::vector<bool>{true, false, false}));
}

TEST(PostgisConnectionTest, AServerThatCannotBeReachedIsAnErrorNamingTheConnection) {
  GDALAllRegister();
  for (const std::string connection : {"PG:host=/nonexistent-folder dbname=x password=secret", "dbname=x"}) {
    const std::string why = test::ErrorOf([&] { PostgisWorkspace::Open(connection); }).description;
    EXPECT_TRUE(test::Has(why, "dbname=x") && !test::Has(why, "secret")) << connection << ": " << why;
  }
}

// The store path (a feature class in a shapefile folder and in a GeoPackage,
// one feature, its spatial index) run once under valgrind: nothing the host
// allocates may be left unreachable. Skipped where valgrind is not installed.
constexpr char kProbeVariable[] = "TOV_STORE_LEAK_PROBE";

void StoreOneArea(const WorkspacePtr& ws, bool geoPackage) {
  FeatureClassPtr fc = PolygonClass(ws, "Area", Projected(5070), geoPackage);
  AddSquares(fc, {"A"}, -96, 40, Geographic(4269));
  fc->AddIndex(IndexOn(fc, fc->ShapeFieldName(), "Idx_1"));
}

// The work that the valgrind run below watches; does nothing on its own.
TEST_F(GisTest, StoreLeakProbe) {
  if (!std::getenv(kProbeVariable)) GTEST_SKIP() << "run by StoreLeaksNoHostMemory under valgrind";
  StoreOneArea(Shapefiles(), false);
  StoreOneArea(NewGeoPackage(), true);
}

// The valgrind records (blocks of lines between blank ones) of definitely
// lost blocks whose stack passes through the host's own code.
std::vector<std::string> HostLeaks(const std::string& report) {
  std::vector<std::string> leaks;
  std::istringstream lines(report + "\n");
  std::string record;
  for (std::string line; std::getline(lines, line);) {
    const size_t body = line.find("== ");
    const std::string text = body == std::string::npos ? line : line.substr(body + 3);
    if (!text.empty()) record += text + "\n";
    else if (Has(record, "definitely lost in loss record") && Has(record, "tov::")) leaks.push_back(record);
    if (text.empty()) record.clear();
  }
  return leaks;
}

TEST(StoreLeak, StoreLeaksNoHostMemory) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "LeakSanitizer watches this build; valgrind cannot run it";
#endif
  if (std::system("valgrind --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "valgrind is not installed";
  const std::string command = std::string(kProbeVariable) +
                              "=1 valgrind --leak-check=full --show-leak-kinds=definite --num-callers=40 "
                              "/proc/" + std::to_string(::getpid()) +
                              "/exe --gtest_filter=GisTest.StoreLeakProbe";
  std::string report;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) report.append(buffer, n);
    pclose(pipe);
  }
  ASSERT_NE(report.find("[  PASSED  ] 1 test"), std::string::npos) << report;
  for (const std::string& leak : HostLeaks(report)) ADD_FAILURE() << leak;
}

// The values, shapes and indexes of stored features.
using FeatureDataTest = GisTest;

FieldsPtr MixedFields(long geometryType, const SpatialReferencePtr& sr) {
  FieldsPtr fields = ShapeFields(geometryType, sr, false);
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
  EXPECT_EQ(std::make_tuple(back->Value(fc->FindField("COUNT")).ToLong(),
                            back->Value(fc->FindField("SHARE")).ToDouble(),
                            back->Value(fc->FindField("LABEL")).IsEmpty(), back->Value(0).ToLong()),
            std::make_tuple(42L, 0.25, true, f->OID()));
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
  // Around the origin, in metres.
  EXPECT_TRUE(std::abs(stored->XMin() + stored->XMax()) <= 2.0 && stored->Width() > 15000)
      << ::testing::PrintToString(Corners(stored));
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
