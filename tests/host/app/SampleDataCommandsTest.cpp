// Commands on the USA sample data set (skipped when it is not built), checked
// against what its GeoPackage holds.
#include "tests/host/StoredShape.h"

namespace tov::test {
namespace {

class SampleDataCommand : public ::testing::Test {
protected:
  void SetUp() override {
    TOV_REQUIRE_SAMPLE_DATA();
    GDALAllRegister();
  }
  // Runs tovana on a new analysis of the sample's data set, from the data root given.
  ProgramRun Tovana(const std::string& arguments, const std::string& dataRoot = SampleDataRoot().string()) {
    return RunProgram("--data-root '" + dataRoot + "' --analysis '" + analysis + "' --dataset USA " + arguments,
                      temp.Path());
  }
  static std::unique_ptr<GDALDataset> Sample() {
    return std::unique_ptr<GDALDataset>(
        GDALDataset::Open(SampleGeoPackage().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  }
  static long CountInSample(const char* layer, const std::string& where) {
    auto sample = Sample();
    OGRLayer* features = sample->GetLayerByName(layer);
    features->SetAttributeFilter(where.empty() ? nullptr : where.c_str());
    return static_cast<long>(features->GetFeatureCount());
  }

  // The polygon of a stored study area, in NAD83 degrees.
  std::unique_ptr<OGRGeometry> StoredShape(const std::string& name) {
    std::unique_ptr<OGRGeometry> shape = StoredShapeOf(Tovana("show '" + name + "' --json"));
    if (!shape) return nullptr;
    EXPECT_STREQ(shape->getSpatialReference()->GetAuthorityCode(nullptr), "5070");
    OGRSpatialReference nad83;
    nad83.importFromEPSG(4269);
    nad83.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    EXPECT_EQ(shape->transformTo(&nad83), OGRERR_NONE);
    shape->assignSpatialReference(nullptr);
    return shape;
  }

  // The labels of the counties whose label point lies in area (NAD83).
  static std::set<std::string> CountiesIn(const OGRGeometry& area) {
    auto ds = Sample();
    OGRLayer* counties = ds->GetLayerByName("counties");
    OGREnvelope e;
    area.getEnvelope(&e);
    counties->SetSpatialFilterRect(e.MinX - 1, e.MinY - 1, e.MaxX + 1, e.MaxY + 1);
    std::set<std::string> labels;
    for (auto& county : *counties) {
      std::unique_ptr<OGRGeometry> inside(
          OGRGeometry::FromHandle(OGR_G_PointOnSurface(OGRGeometry::ToHandle(county->GetGeometryRef()))));
      if (inside && inside->Within(&area)) labels.insert(county->GetFieldAsString("LABEL"));
    }
    return labels;
  }

  static std::unique_ptr<OGRGeometry> FromWkt(const std::string& wkt) {
    OGRGeometry* g = nullptr;
    OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &g);
    return std::unique_ptr<OGRGeometry>(g);
  }

  tov::testing::TempFolder temp;
  std::string analysis = temp / "analysis";
};

TEST_F(SampleDataCommand, DatasetsListsEverySampleLayerWithItsFeatureCount) {
  const ProgramRun run = RunProgram("--data-root '" + SampleDataRoot().string() + "' datasets", temp.Path());
  EXPECT_TRUE(Has(run.output, "USA\t")) << run.output;
  for (const auto& [mapName, source] : {std::pair{"States", "states"}, {"Counties", "counties"}, {"ZIP areas", "zip_areas"}}) {
    const std::string line = std::string(mapName) + " (" + source + "): " + std::to_string(CountInSample(source, "")) +
                             " features";
    EXPECT_TRUE(Has(run.output, line)) << "missing \"" << line << "\" in\n" << run.output;
  }
}

TEST_F(SampleDataCommand, ZipPreviewCountsEachCodeAndNamesThoseThatMatchNothing) {
  ProgramRun run = Tovana("zip-preview --zips '10001, 100*; 000*'");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  const long prefix = CountInSample("zip_areas", "ZIP LIKE '100%'");
  ASSERT_GT(prefix, 1);
  for (const std::string& line : {std::string("10001\t1 ZIP area\n"), "100%\t" + std::to_string(prefix) + " ZIP areas\n",
                                  std::string("000%\t0 ZIP areas\n")})
    EXPECT_TRUE(Has(run.output, line)) << run.output;
  EXPECT_TRUE(Has(run.output + run.errors, "Matching no ZIP area: 000%")) << run.output;

  // The rules of the data set's ZIP method: five digits, or a prefix of at
  // least two followed by the wildcard; all codes or none.
  run = Tovana("zip-preview --zips '10001, 1000'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.output + run.errors, "five digits")) << run.errors;
  EXPECT_FALSE(Has(run.output + run.errors, "10001\t")) << run.output;
}

TEST_F(SampleDataCommand, AnExtentAndAPolygonInDegreesCoverTheCountiesTheirDegreesHold) {
  ProgramRun run = Tovana("setup extent --name Harbour --lonlat --extent=-74.3,40.45,-73.65,40.95");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  const auto rectangle = FromWkt("POLYGON((-74.3 40.45,-73.65 40.45,-73.65 40.95,-74.3 40.95,-74.3 40.45))");
  std::unique_ptr<OGRGeometry> harbour = StoredShape("Harbour");
  ASSERT_TRUE(harbour);
  // The map shows the smallest rectangle of its metres around the degrees:
  // all of them, and at its corners a little more (the meridians lean at New
  // York in this projection).
  std::unique_ptr<OGRGeometry> left(rectangle->Difference(harbour.get()));
  EXPECT_LT(OGR_G_Area(OGRGeometry::ToHandle(left.get())), 1e-9);
  const auto grown = FromWkt("POLYGON((-74.55 40.2,-73.4 40.2,-73.4 41.2,-74.55 41.2,-74.55 40.2))");
  EXPECT_TRUE(harbour->Within(grown.get()));
  const std::set<std::string> before = CountiesIn(*rectangle), now = CountiesIn(*harbour);
  EXPECT_TRUE(before.count("Kings, NY") && before.count("Hudson, NJ") && before.count("Bronx, NY"));
  for (const std::string& county : before) EXPECT_TRUE(now.count(county)) << county;

  // A drawn polygon keeps its edges where the degrees put them.
  const std::string triangle = "POLYGON((-75 40,-73 40,-74 42,-75 40))";
  run = Tovana("setup selected --name Triangle --lonlat --graphic '" + triangle + "'");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  std::unique_ptr<OGRGeometry> stored = StoredShape("Triangle");
  ASSERT_TRUE(stored);
  const auto asked = FromWkt(triangle);
  EXPECT_EQ(CountiesIn(*stored), CountiesIn(*asked));
  std::unique_ptr<OGRGeometry> apart(stored->SymDifference(asked.get()));
  ASSERT_TRUE(apart);
  EXPECT_LT(OGR_G_Area(OGRGeometry::ToHandle(apart.get())), 1e-4 * OGR_G_Area(OGRGeometry::ToHandle(asked.get())));
}

TEST_F(SampleDataCommand, DegreesOutOfRangeOrWithoutCoordinatesAreUsageErrors) {
  for (const auto& [arguments, mention] :
       {std::pair{"setup extent --name A --lonlat", "--extent"},
        {"setup extent --name A --lonlat --extent=-200,40,-190,41", "longitude"},
        {"setup selected --name A --lonlat --graphic 'POLYGON((-74 40,-73 40,-73 91,-74 40))'", "latitude"}}) {
    const ProgramRun run = Tovana(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments << "\n" << run.errors;
    EXPECT_TRUE(Has(run.errors, mention)) << arguments << "\n" << run.errors;
    EXPECT_FALSE(fs::exists(analysis)) << arguments;
  }
}

// An analysis system the host cannot make (its type and code given): no
// study area may be stored in map degrees; the method fails where it first
// needs the system and says so in log.txt.
class AnalysisSystemCommand : public SampleDataCommand,
                              public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(AnalysisSystemCommand, AnUnusableSystemStoresNothingAndIsReportedByTheStart) {
  // The sample description with the system replaced, its GeoPackage named by absolute path.
  auto description = nlohmann::json::parse(ReadTextFile((SampleFolder() / "dataset.json").string()));
  description["geopackage"] = SampleGeoPackage().string();
  for (auto& node : description["configuration"]["children"])
    if (node["name"] == "Projections")
      for (auto& child : node["children"])
        if (child["name"] == "Projection.ResultantDefault")
          child["properties"] = {{"Type", GetParam().first}, {"ID", GetParam().second}};
  const std::string root = temp / "data";
  fs::create_directories(root + "/usa");
  WriteTextFile(root + "/usa/dataset.json", description.dump(2));

  const ProgramRun run = Tovana("setup extent --name Here --lonlat --extent=-100,35,-95,40", root);
  EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
  const std::string log = ReadTextFile(analysis + "/log.txt");
  EXPECT_TRUE(Has(log, "ITovFunction_Start ")) << log;
  for (const auto& entry : fs::recursive_directory_iterator(analysis))
    EXPECT_NE(entry.path().extension(), ".shp") << "a study area was stored: " << entry.path();
}

INSTANTIATE_TEST_SUITE_P(UnknownOrWrongKind, AnalysisSystemCommand,
                         ::testing::Values(std::make_pair("Projected", "999999"), std::make_pair("Geographic", "5070"),
                                           std::make_pair("Projected", "4269")),
                         [](const auto& info) { return std::string(info.param.first) + info.param.second; });

} // namespace
} // namespace tov::test
