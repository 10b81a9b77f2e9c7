// A data set whose layers are tables of a PostGIS database: its import, where
// clauses and field lists answered by the server, unions where the data is,
// and a database that cannot be used. Runs against the throwaway cluster
// only (PostGIS.*).
#include "PostgisCluster.h"
#include "Program.h"
#include "ScopedEnvironment.h"
#include "WorldTest.h"

#include "host/framework/AnalysisCheck.h"
#include "host/framework/GeoPackageDataAccess.h"
#include "host/framework/PostgisDatasetImport.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostPolygon.h"
#include "host/gis/PolygonUnion.h"

namespace tov::test {
namespace {

class PostgisDataTest : public WorldTest {
protected:
  void SetUp() override {
    if (!PostgisConnection()) GTEST_SKIP() << "runs in the database run (PostGIS.*) with its cluster";
  }

  // The regions of the world's data set as the host's data access opens them.
  std::shared_ptr<HostFeatureClass> Regions() {
    world->Publish();
    m_access = std::make_unique<GeoPackageDataAccess>(JsonDataset::LoadAll(world->DataRoot()),
                                                      [] { return std::string("Test"); });
    auto regions = std::dynamic_pointer_cast<HostFeatureClass>(m_access->OpenOrFail("Regions", "Test"));
    EXPECT_TRUE(regions && regions->IsPostgis());
    return regions;
  }

  // The union of the shapes the enumerator gives, with how it was made.
  static std::pair<double, UnionMethod> Unite(const GeometryEnumeratorPtr& shapes, const char* site) {
    tov::testing::ScopedEnvironment variable(kUnionSiteVariable, site);
    auto polygon = std::make_shared<HostPolygon>();
    const UnionMethod method = polygon->ConstructUnionReportingMethod(shapes);
    return {polygon->Area(), method};
  }

  // A GeoPackage data set of that name: a copy of the world's before it
  // was published; returns its description.
  nlohmann::json PlainCopy(const std::string& name) {
    const std::string folder = world->DataRoot() + "/" + name;
    fs::create_directories(folder);
    fs::copy_file(world->DatasetFolder() + "/test.gpkg", folder + "/test.gpkg");
    auto description = nlohmann::json::parse(ReadTextFile(world->DatasetFolder() + "/dataset.json"));
    description["name"] = name;
    description.erase("postgis");
    description["geopackage"] = "test.gpkg";
    std::ofstream(folder + "/dataset.json") << description.dump();
    return description;
  }

  std::unique_ptr<GeoPackageDataAccess> m_access;
};

TEST_F(PostgisDataTest, ImportCopiesEveryLayerWithASpatialIndexAndReplacesItWhenRepeated) {
  // A GeoPackage data set of its own name, so that its schema is this test's.
  const std::string name = "Imp" + fs::path(world->Root()).filename().string();
  const std::string folder = world->DataRoot() + "/" + name;
  const nlohmann::json description = PlainCopy(name);

  const std::string schema = PostgisDatasetImport::SchemaFor(name);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(TovanaWith("datasets import --postgis '" + *PostgisConnection() + "' " + name), 0) << errors;
    EXPECT_NE(output.find(schema + ".regions: 2 rows"), std::string::npos) << output;
  }
  const auto copy = nlohmann::json::parse(ReadTextFile(folder + "-postgis/dataset.json"));
  EXPECT_EQ(copy.at("name"), name + "-postgis");
  EXPECT_EQ(copy.at("postgis"), *PostgisConnection() + " schemas=" + schema);
  EXPECT_FALSE(copy.contains("geopackage"));
  EXPECT_EQ(copy.at("tasks"), description.at("tasks"));

  ASSERT_EQ(TovanaWith("datasets"), 0) << errors;
  EXPECT_NE(output.find(name + "-postgis\tPG:"), std::string::npos) << output;
  EXPECT_NE(output.find("  Regions (regions): 2 features"), std::string::npos) << output;

  GeoPackageDataAccess access(JsonDataset::LoadAll(world->DataRoot()), [] { return std::string(); });
  FeatureClassPtr regions = access.OpenOrFail("Regions", name + "-postgis");
  EXPECT_TRUE(regions->HasSpatialIndex());
  PostgisDatasetImport::DropSchema(*PostgisConnection(), schema);
}

TEST_F(PostgisDataTest, WhereClausesAndFieldListsAreAnsweredByTheServer) {
  // West and East side by side (as every test world has), and one whose name
  // holds apostrophes, apart from them.
  AddRegion(*world, "O'Brien's", -70.0, 40.0, -69.0, 41.0);
  auto regions = Regions();
  ASSERT_TRUE(regions);

  // position() is the server's own SQL; a name with apostrophes is one name.
  FeatureCursorPtr cursor =
      m_access->SearchLayer("Regions", false, "NAME", "position('Brien' in NAME) > 0 AND NAME = 'O''Brien''s'", "Test");
  ASSERT_TRUE(cursor);
  FeaturePtr found = cursor->NextFeature();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Value(regions->FindField("NAME")).ToString(), "O'Brien's");
  EXPECT_FALSE(found->Shape() && !found->Shape()->IsEmpty()) << "the shape was not asked for";
  EXPECT_FALSE(cursor->NextFeature());

  cursor = m_access->SearchLayer("Regions", false, "Shape, NAME", "NAME = 'West'", "Test");
  ASSERT_TRUE(cursor);
  found = cursor->NextFeature();
  ASSERT_TRUE(found && found->Shape());
  EXPECT_FALSE(found->Shape()->IsEmpty());

  // A condition the server refuses is no cursor, not a crash.
  EXPECT_FALSE(m_access->SearchLayer("Regions", false, "", "NO_SUCH_FIELD = 1", "Test"));
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  filter->SetWhereClause("NAME = 'East' OR NAME = 'West'");
  EXPECT_EQ(regions->FeatureCount(filter), 2);
}

TEST_F(PostgisDataTest, TheServersUnionCoversWhatTheHostsDoes) {
  AddRegion(*world, "O'Brien's", -70.0, 40.0, -69.0, 41.0);
  // Two unit squares overlapping by half of each.
  WritePolygons(*world, "blobs", {},
                {{Rectangle(-80, 30, -79, 31, Geographic(4269)), {}},
                 {Rectangle(-79.5, 30, -78.5, 31, Geographic(4269)), {}}});
  auto regions = Regions();
  ASSERT_TRUE(regions);
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  filter->SetWhereClause("NAME <> 'O''Brien''s'");
  auto shapesOf = [](const QueryFilterPtr& filter, const ObjectPtr& source) {
    auto shapes = CreateAs<GeometryEnumerator>(kGeometryEnumeratorProgId);
    shapes->BindGeometrySource(filter, source);
    return shapes;
  };
  const GeometryEnumeratorPtr whole = shapesOf(nullptr, regions), some = shapesOf(filter, regions);
  const GeometryEnumeratorPtr selected =
      shapesOf(nullptr, regions->Select(filter, selectionTypeIDSet, selectionOptionNormal, nullptr));

  // Two 1 x 1.5 degree rectangles side by side, and a 1 x 1 one apart.
  const std::pair<GeometryEnumeratorPtr, double> cases[] = {{whole, 4.0}, {some, 3.0}, {selected, 3.0}};
  for (const auto& [shapes, area] : cases) {
    const auto [serverArea, serverMethod] = Unite(shapes, "server");
    const auto [localArea, localMethod] = Unite(shapes, "local");
    EXPECT_EQ(serverMethod, UnionMethod::Server);
    EXPECT_NE(localMethod, UnionMethod::Server);
    EXPECT_NEAR(serverArea, area, 1e-9);
    EXPECT_NEAR(localArea, area, 1e-9);
  }
  // Left to choose, the host unites shapes that only share edges itself,
  // and lets the server unite overlapping ones.
  EXPECT_EQ(Unite(whole, "").second, UnionMethod::Coverage);
  const auto [blobsArea, blobsMethod] = Unite(shapesOf(nullptr, m_access->OpenOrFail("blobs", "Test")), "");
  EXPECT_EQ(blobsMethod, UnionMethod::Server);
  EXPECT_NEAR(blobsArea, 1.5, 1e-9);

  // Streamed to the host: counted by the server, read once each.
  EXPECT_EQ(some->Count(), 2);
  long read = 0;
  some->Reset();
  while (some->Next()) ++read;
  EXPECT_EQ(read, 2);
}

// A reference layer read from the database has no file to look for: the
// analysis check finds it present, and the map draws it.
TEST_F(PostgisDataTest, TheCheckAndTheMapFindTheDatabaseLayers) {
  ASSERT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
  EXPECT_EQ(FocusLayers().back().at("source").at("format"), "postgis");
  EXPECT_EQ(Tovana("check"), 0) << output << errors;
  EXPECT_NE(output.find("is consistent"), std::string::npos) << output;
  EXPECT_EQ(Tovana("render --out '" + world->Root() + "/map.png'"), 0) << errors;
  EXPECT_EQ(errors.find("Regions"), std::string::npos) << errors;
}

TEST_F(PostgisDataTest, ADatabaseThatCannotBeUsedIsToldWithExitStatusOne) {
  const std::string connection = *PostgisConnection();
  auto writeDataset = [this](const std::string& name, const std::string& postgis, const std::string& source) {
    const std::string folder = world->DataRoot() + "/" + name;
    fs::create_directories(folder);
    const nlohmann::json layer = {{"name", "Regions"}, {"sourceName", source}, {"reference", true}};
    std::ofstream(folder + "/dataset.json")
        << nlohmann::json{{"name", name}, {"postgis", postgis}, {"layers", nlohmann::json::array({layer})}}.dump();
  };
  writeDataset("Unreachable", "PG:host=" + world->Root() + "/no-server dbname=tovana user=tovana", "regions");
  writeDataset("NoSchema", connection + " schemas=no_such_schema_here", "regions");
  writeDataset("NoTable", connection + " schemas=public", "no_such_table_here");
  const std::pair<const char*, const char*> cases[] = {{"Unreachable", "cannot be opened"},
                                                       {"NoSchema", "The schema \"no_such_schema_here\" does not exist"},
                                                       {"NoTable", "there is no table \"no_such_table_here\""}};
  for (const auto& [name, why] : cases) {
    EXPECT_EQ(TovanaWith("--analysis '" + world->Root() + "/" + name + "' --dataset " + name + " setup extent --name A"), 1)
        << name;
    EXPECT_NE(errors.find(why), std::string::npos) << name << ": " << errors;
    ASSERT_EQ(TovanaWith("datasets"), 0) << errors;
    EXPECT_NE(output.find("not readable"), std::string::npos) << output;
  }
  PlainCopy("Plain");
  EXPECT_EQ(TovanaWith("datasets import --postgis 'PG:host=" + world->Root() + "/no-server dbname=x' Plain"), 1);
  EXPECT_NE(errors.find("cannot be opened"), std::string::npos) << errors;
  EXPECT_EQ(TovanaWith("datasets import --postgis 'dbname=x' Plain"), 1);
  EXPECT_NE(errors.find("is not a PostgreSQL connection string"), std::string::npos) << errors;
}

} // namespace
} // namespace tov::test
