// An analysis as the host opens, keeps and reopens it: its files, data
// access and focus map.
#include "TestWorld.h"

#include "host/common/Paths.h"
#include "host/gis/HostFeatureLayer.h"

#include <fstream>

namespace tov::test {
namespace {

// A class of polygons in `sr`, with a text field CODE when asked.
FeatureClassPtr MakePolygonClass(const WorkspacePtr& ws, const std::string& name, const SpatialReferencePtr& sr,
                                 bool withCode) {
  FieldsPtr fields = ShapeFields(geometryPolygon, sr, false);
  if (withCode) fields->AddField(TextField("CODE", 10));
  return ws->CreateFeatureClass(name, fields, "", "", 1, "Shape", "");
}

// A square outer ring as the host keeps it.
PolygonPtr KeptSquare(double x, double y, double size, const SpatialReferencePtr& sr) {
  PolygonPtr polygon = Square(x, y, size, sr);
  polygon->Simplify();
  return polygon;
}

// Analyses opened on a data root of their own: the data set "Mini" (the
// fixture's description) with a GeoPackage made here, two NAD83 regions side
// by side (-100..-98 x 40..41, CODE "R1" and "R2") and an empty "zones".
class MiniAnalysisTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::create_directories(dataRoot);
    fs::copy_file(std::string(TOVANA_SOURCE_ROOT) + "/tests/fixtures/datasets/mini/dataset.json",
                  dataRoot + "/dataset.json");
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    WorkspacePtr ws = factory->OpenFromFile(factory->Create(ToPlatformPath(dataRoot), "mini", nullptr));
    FeatureClassPtr regions = MakePolygonClass(ws, "regions", sr, true);
    for (int n : {1, 2}) {
      FeaturePtr f = regions->CreateFeature();
      f->SetShape(KeptSquare(-101.0 + n, 40.0, 1.0, sr));
      f->SetValue(regions->FindField("CODE"), Variant("R" + std::to_string(n)));
      f->Store();
    }
    MakePolygonClass(ws, "zones", sr, false);
  }

  // The analysis in the folder `name`, on the data set asked for (else the only one).
  AnalysisPtr Open(const std::string& name = "analysis", const std::string& dataset = "") {
    return OpenAnalysis(tmp / name, dataset, tmp / "data");
  }

  tov::testing::TempFolder tmp;
  std::string dataRoot = tmp / "data/mini";
  std::string folder = tmp / "analysis";
  SpatialReferencePtr sr = Geographic(4269);
};

class AnalysisTest : public MiniAnalysisTest {
protected:
  // Writes a one-polygon layer file at the record's path, as the store does.
  void WriteStudyAreaLayerFile(const StudyAreaRecordPtr& record, double x) {
    std::string folder = ToPlatformPath(fs::path(ToNativePath(record->FilePath())).parent_path().string());
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory");
    FeatureClassPtr fc = MakePolygonClass(factory->OpenFromFile(folder), "StudyArea", sr, false);
    FeaturePtr f = fc->CreateFeature();
    f->SetShape(KeptSquare(x, 40.0, 0.5, sr));
    f->Store();
    auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetFeatureClass(fc);
    layer->SetName(record->Name());
    layer->SetDataSourceRelativeBase(folder);
    auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
    file->SetFilename(record->FilePath());
    file->SetLayer(layer);
    file->Save();
  }
};

// A new analysis: its files and defaults, its reference layer, the data sets
// and media its data manager lists, and the classes made by ProgID.
TEST_F(AnalysisTest, ANewAnalysisHasItsFilesDefaultsLayersDataSetsAndClasses) {
  AnalysisPtr analysis = Open();
  EXPECT_TRUE(analysis->created);
  for (const char* file : {"analysis.sqlite", "document.json", "log.txt"}) EXPECT_TRUE(fs::exists(folder + "/" + file)) << file;

  EXPECT_EQ(analysis->application->FindExtension("TovKernel.TovExtension"),
            std::static_pointer_cast<Object>(analysis->extension));
  TovExtensionPtr ext = analysis->extension;
  EXPECT_EQ(ext->CurrentDatasetName(), "Mini");
  EXPECT_EQ(ext->GetDataManager(), std::static_pointer_cast<DataManager>(analysis->dataManager));
  EXPECT_EQ(ext->ExtensionOptions()->GetProperty("Use Group Layer For Analysis"), "True");
  EXPECT_EQ(ext->ExtensionOptions()->GetProperty("ChangeGroupLayerName"), "True");
  EXPECT_EQ(ext->CurrentStudyAreaGeometry(), nullptr);

  // Only the reference layer, under its map name, drawn with the reference symbol keys.
  MapPtr map = analysis->application->Document()->FocusMap();
  ASSERT_EQ(map->LayerCount(), 1);
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(map->Layer(0));
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->Name(), "Regions of Mini");
  auto fill = std::dynamic_pointer_cast<FillSymbol>(layer->Renderer()->Symbol());
  ASSERT_TRUE(fill);
  // Hollow, outlined 1.5 wide in red.
  EXPECT_EQ(std::make_tuple(fill->Style(), fill->Outline()->Width(), fill->Outline()->Color()->RGB()),
            std::make_tuple(1, 1.5, 0xFF));
  // In the data set's analysis system, showing the whole layer.
  EXPECT_EQ(map->SpatialReference()->FactoryCode(), 5070);
  EnvelopePtr extent = analysis->application->Document()->ActiveView()->Extent();
  extent->Project(sr);
  EXPECT_LE(extent->XMin(), -100.0);
  EXPECT_GE(extent->XMax(), -98.0);

  // The data manager lists the one data set and finds the media.
  DataManagerPtr dm = analysis->dataManager;
  ASSERT_EQ(dm->DataSetCount(), 1);
  EXPECT_EQ(dm->DataSetName(0), "Mini");
  EXPECT_EQ(dm->DataSetByName("Mini"), dm->DataSet(0));
  EXPECT_THROW(dm->DataSet(1), HostError);
  std::string clock = dm->MediaPath("Clock AVI");
  EXPECT_NE(clock.find("\\clock.gif"), std::string::npos);
  EXPECT_TRUE(fs::exists(ToNativePath(clock)));
  EXPECT_EQ(dm->MediaPath("Unknown"), "");

  // Registered classes are created by ProgID and report into the analysis log.
  EXPECT_EQ(CreateObject("TovKernel.TovExtension"), std::static_pointer_cast<Object>(analysis->extension));
  EXPECT_TRUE(CreateAs<FileInfo>("TovDM.TovFileInfo"));
  EXPECT_TRUE(CreateAs<NameChecker>("TovKernel.NameChecker"));
  EXPECT_TRUE(CreateAs<ProgressRunner>("TovKernel.ProgressRunner"));
  EXPECT_TRUE(CreateAs<TaskPropertySet>("TovKernel.TaskPropertySet"));
  EXPECT_EQ(CreateAs<ResourceFinder>("TovSetupStudyAreaRes.clsFindResource")->FindString("187"), "Study Area Name");
  EXPECT_FALSE(CreateAs<ResourceFinder>("TovSetupStudyAreaGuiRes.clsFindResource")->FindString("1000").empty());
  auto handler = CreateAs<ErrorHandler>("TovKernel.TovErrorHandler");
  handler->ReportError("Proc Module", 5, "Test", "logged here");
  EXPECT_TRUE(Has(ReadTextFile(folder + "/log.txt"), "logged here"));
}

TEST_F(AnalysisTest, DataAccessOpensLayersByTableOrLayerNameAndSaysNoneOtherwise) {
  AnalysisPtr analysis = Open("analysis", "Mini");
  DataAccessServicePtr access = analysis->extension->GetDataAccessService();
  FeatureClassPtr regions = access->OpenFeatureClass("regions", "Mini");
  ASSERT_TRUE(regions);
  EXPECT_EQ(regions->FeatureCount(nullptr), 2);
  EXPECT_TRUE(access->OpenFeatureClass("Regions", "")); // data set layer name, current data set
  EXPECT_EQ(access->OpenFeatureClass("nothing", "Mini"), nullptr);
  EXPECT_EQ(access->OpenFeatureClass("regions", "Elsewhere"), nullptr);

  FeatureCursorPtr cursor = access->SearchLayer("regions", true, "Shape, CODE", "CODE = 'R2'", "Mini");
  ASSERT_TRUE(cursor);
  long code = cursor->FindField("CODE");
  ASSERT_GE(code, 0);
  FeaturePtr f = cursor->NextFeature();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Value(code).ToString(), "R2");
  EXPECT_EQ(cursor->NextFeature(), nullptr);
  EXPECT_EQ(access->SearchLayer("nothing", true, "", "", "Mini"), nullptr);
}

TEST_F(AnalysisTest, CurrentStudyAreaGeometryIsReadThroughTheLayerFile) {
  AnalysisPtr analysis = Open();
  StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
  ASSERT_TRUE(catalog->Add("West"));
  ASSERT_TRUE(catalog->Add("East"));
  WriteStudyAreaLayerFile(catalog->Item("West"), -100.0);
  WriteStudyAreaLayerFile(catalog->Item("East"), -90.0);

  TextPropertySetPtr props = analysis->extension->ExtensionProperties();
  props->SetProperty("CurrentExtent", "East");
  GeometryPtr geometry = analysis->extension->CurrentStudyAreaGeometry();
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->GeometryType(), geometryPolygon);
  EXPECT_NEAR(geometry->Envelope()->XMin(), -90.0, 1e-9);

  props->SetProperty("CurrentExtent", ":CurrentExtent"); // no such study area
  EXPECT_EQ(analysis->extension->CurrentStudyAreaGeometry(), nullptr);
  props->SetProperty("CurrentExtent", "West");
  fs::remove(ToNativePath(catalog->Item("West")->FilePath()));
  EXPECT_EQ(analysis->extension->CurrentStudyAreaGeometry(), nullptr);
}

TEST_F(AnalysisTest, ReopeningKeepsTheDataSetSettingsCatalogueAndMap) {
  {
    AnalysisPtr first = Open();
    first->extension->ExtensionProperties()->SetProperty("Study Area Name", "North");
    ASSERT_TRUE(first->dataManager->GetStudyAreaCatalog()->Add("North"));
    first->application->Document()->FocusMap()->SetName("Renamed map");
    SaveAnalysis(*first);
  }
  AnalysisPtr again = Open();
  MapPtr map = again->application->Document()->FocusMap();
  EXPECT_EQ(std::make_tuple(again->created, again->extension->CurrentDatasetName(),
                            again->extension->ExtensionProperties()->GetProperty("Study Area Name"),
                            again->dataManager->GetStudyAreaCatalog()->Exists("North"), map->Name(), map->LayerCount()),
            std::make_tuple(false, std::string("Mini"), std::string("North"), true, std::string("Renamed map"), 1L));
}

// A document nothing has touched since it was loaded is marked by its text;
// what changes after the mark is still told apart from what does not, and
// saving it still keeps what another process saved in the meantime.
TEST_F(AnalysisTest, AMarkOfAnUntouchedDocumentSeesRealChangesAndKeepsOthersWork) {
  Open();
  AnalysisPtr mine = Open();
  const AnalysisMark before = MarkAnalysis(*mine);
  ASSERT_TRUE(before.loadedText) << "the document was written out to be marked";
  EXPECT_FALSE(ChangedBetween(before, MarkAnalysis(*mine)));
  {
    AnalysisPtr theirs = Open();
    theirs->application->Document()->FocusMap()->SetName("Their map");
    SaveAnalysis(*theirs);
  }
  // Looked at, not changed: not a change.
  MapPtr map = mine->application->Document()->FocusMap();
  EXPECT_FALSE(ChangedBetween(before, MarkAnalysis(*mine)));
  map->Layer(0)->SetVisible(false);
  AnalysisMark after = MarkAnalysis(*mine);
  ASSERT_TRUE(ChangedBetween(before, after));
  SaveAnalysisChangesSince(*mine, before, std::move(after.document));
  MapPtr saved = Open()->application->Document()->FocusMap();
  EXPECT_EQ(std::make_tuple(saved->Name(), saved->Layer(0)->Visible()), std::make_tuple(std::string("Their map"), false));
}

// A map that cannot be written (a name that is not UTF-8) is marked as
// changed rather than failing the mark; the save then refuses it.
TEST_F(AnalysisTest, AMapThatCannotBeWrittenIsMarkedAsChanged) {
  AnalysisPtr mine = Open();
  const AnalysisMark before = MarkAnalysis(*mine);
  mine->application->Document()->FocusMap()->Layer(0)->SetName("Caf\xE9");
  AnalysisMark after;
  ASSERT_NO_THROW(after = MarkAnalysis(*mine));
  EXPECT_TRUE(ChangedBetween(before, after));
  EXPECT_ANY_THROW(SaveAnalysisChangesSince(*mine, before, std::move(after.document)));
}

// A preparation (a command's extent) is marked without writing out the
// document: the state at the mark, made again from the loaded text only
// when asked, holds the preparation, so that saving what changed since
// keeps the run's changes and never the preparation itself.
TEST_F(AnalysisTest, APreparedDocumentIsMarkedWithItsPreparationAndSavesOnlyWhatCameAfter) {
  Open();
  AnalysisPtr mine = Open();
  int replays = 0;
  mine->application->Prepare([&replays](MapDocument& document) {
    ++replays;
    document.FocusMap()->SetName("Prepared map");
  });
  EXPECT_EQ(replays, 1);
  const AnalysisMark before = MarkAnalysis(*mine);
  ASSERT_TRUE(!before.loadedText && before.prepared) << "the preparation was not kept for the mark";
  EXPECT_EQ(replays, 1) << "the mark made the state at once";
  EXPECT_FALSE(ChangedBetween(before, MarkAnalysis(*mine)));

  MapPtr map = mine->application->Document()->FocusMap();
  EXPECT_FALSE(ChangedBetween(before, MarkAnalysis(*mine))) << "the prepared map and the replayed one differ";
  map->Layer(0)->SetVisible(false);
  AnalysisMark after = MarkAnalysis(*mine);
  ASSERT_TRUE(ChangedBetween(before, after));
  SaveAnalysisChangesSince(*mine, before, std::move(after.document));
  MapPtr saved = Open()->application->Document()->FocusMap();
  EXPECT_EQ(std::make_tuple(saved->Name(), saved->Layer(0)->Visible()), std::make_tuple(std::string("Layers"), false));

  // Once the document was handed out, a preparation is an ordinary change.
  mine->application->Prepare([](MapDocument& document) { document.FocusMap()->SetName("Later"); });
  EXPECT_FALSE(MarkAnalysis(*mine).prepared);
}

TEST_F(AnalysisTest, ADocumentThatIsNotUnderstoodKeepsTheAnalysisClosedAndTheFileAsItIs) {
  Open();
  const std::string document = folder + "/document.json";
  std::string text = ReadTextFile(document);
  const std::string layersKey = "\"layers\":[";
  const size_t at = text.find(layersKey);
  ASSERT_NE(at, std::string::npos) << text;
  // "layers" as an object: every layer of the map would be lost if read as none.
  text.replace(at, layersKey.size(), "\"layers\": {\"oops\": 1}, \"was\": [");
  WriteTextFile(document, text);
  const std::string why = ErrorOf([&] { Open(); }).description;
  EXPECT_TRUE(Has(why, document) && Has(why, "layers")) << "the analysis opened: " << why;
  EXPECT_EQ(ReadTextFile(document), text);
}

TEST_F(AnalysisTest, AnUnknownDataSetIsRefusedNamingTheInstalledOnes) {
  const std::string why = ErrorOf([&] { Open("analysis", "Atlantis"); }).description;
  EXPECT_TRUE(Has(why, "Atlantis") && Has(why, "Mini")) << why;
}

// The focus map of a new analysis as the data set describes it: its
// coordinate system, its first view, and the scale ranges and labels of its
// reference layers, kept when the analysis is saved and opened again.
class NewAnalysisMapTest : public MiniAnalysisTest {
protected:
  // A description of the regions layer with the given members added to the
  // data set, to the layer and as the projection node's properties (none
  // when empty).
  void Describe(const std::string& datasetMembers, const std::string& layerMembers, const std::string& projection) {
    const std::string config =
        projection.empty() ? "[]"
                           : R"([{"name": "Projections", "children": [{"name": "Projection.ResultantDefault",
                                  "properties": )" + projection + "}]}]";
    std::ofstream(dataRoot + "/dataset.json")
        << R"({"name": "Mini", "geopackage": "mini.gpkg", )" << datasetMembers
        << R"( "layers": [{"name": "Regions", "sourceName": "regions", "reference": true)" << layerMembers
        << R"(}], "configuration": {"children": )" << config << R"(},
        "referenceSymbols": {"Regions": {"LabelSize": "9"}}})";
  }

  static std::vector<double> Corners(const EnvelopePtr& e) { return {e->XMin(), e->YMin(), e->XMax(), e->YMax()}; }
  static MapPtr FocusMap(const AnalysisPtr& analysis) { return analysis->application->Document()->FocusMap(); }
  // The map's view in longitude and latitude (NAD83).
  static EnvelopePtr ViewInDegrees(const AnalysisPtr& analysis) {
    EnvelopePtr view = analysis->application->Document()->ActiveView()->Extent();
    view->Project(Geographic(4269));
    return view;
  }
};

TEST_F(NewAnalysisMapTest, TheMapTakesTheAnalysisSystemElseTheFirstLayers) {
  const std::pair<const char*, long> cases[] = {
      {R"({"Type": "Projected", "ID": "5070"})", 5070},
      {R"({"Type": "Geographic", "ID": "4326"})", 4326},
      {"", 4269},                                        // no node: the layer's system
      {R"({"Type": "projected", "ID": "5070"})", 4269},  // the type is exact
      {R"({"Type": "Geographic", "ID": "5070"})", 4269}, // a code of the other kind
      {R"({"Type": "Projected", "ID": "999999"})", 4269},
  };
  int n = 0;
  for (const auto& [projection, code] : cases) {
    SCOPED_TRACE(projection);
    Describe("", "", projection);
    AnalysisPtr analysis = Open("analysis" + std::to_string(++n));
    ASSERT_TRUE(FocusMap(analysis)->SpatialReference());
    EXPECT_EQ(FocusMap(analysis)->SpatialReference()->FactoryCode(), code);
  }
}

TEST_F(NewAnalysisMapTest, TheFirstViewIsTheInitialExtentElseTheWholeData) {
  const char* albers = R"({"Type": "Projected", "ID": "5070"})";
  Describe(R"("initialExtent": [-110, 30, -90, 45],)", "", albers);
  // The rectangle of the map's system that holds the degrees asked for
  // (its corners reach a little further, more so seen back in degrees).
  const std::vector<double> with = Corners(ViewInDegrees(Open("with")));
  const double low[] = {-115, 29, -90, 45}, high[] = {-110, 30, -85, 47};
  for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(low[i] <= with[i] && with[i] <= high[i]) << i << ": " << with[i];

  Describe("", "", albers);
  const std::vector<double> without = Corners(ViewInDegrees(Open("without")));
  const double data[] = {-100, 40, -98, 41};
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(without[i], data[i], 0.1) << i;
}

TEST_F(NewAnalysisMapTest, AnOpenedAnalysisKeepsTheSystemItsDocumentHolds) {
  Describe("", "", R"({"Type": "Projected", "ID": "5070"})");
  ASSERT_EQ(FocusMap(Open("analysis"))->SpatialReference()->FactoryCode(), 5070);
  Describe("", "", R"({"Type": "Geographic", "ID": "4326"})");
  AnalysisPtr again = Open("analysis");
  EXPECT_FALSE(again->created);
  EXPECT_EQ(FocusMap(again)->SpatialReference()->FactoryCode(), 5070);
}

TEST_F(NewAnalysisMapTest, ScaleRangesAndLabelsOfReferenceLayersSurviveSavingAndOpening) {
  Describe("", R"(, "minimumScale": 1500000, "maximumScale": 1000, "labelField": "NAME",
                   "labelMinimumScale": 250000)",
           "");
  for (bool reopened : {false, true}) {
    SCOPED_TRACE(reopened ? "reopened" : "new");
    AnalysisPtr analysis = Open("analysis");
    EXPECT_EQ(analysis->created, !reopened);
    if (!reopened) SaveAnalysis(*analysis);
    auto layer = std::dynamic_pointer_cast<HostFeatureLayer>(FocusMap(analysis)->Layer(0));
    ASSERT_TRUE(layer);
    EXPECT_EQ(std::make_tuple(layer->MinimumScale(), layer->MaximumScale(), layer->DisplayAnnotation()),
              std::make_tuple(1500000.0, 1000.0, true));
    ASSERT_EQ(layer->AnnotationProperties()->Count(), 1);
    LabelClassPtr labels = layer->AnnotationProperties()->Item(0);
    EXPECT_EQ(std::make_tuple(labels->Expression(), labels->MinimumScale(), labels->MaximumScale(),
                              labels->TextSymbol()->Size()),
              std::make_tuple(std::string("[NAME]"), 250000.0, 0.0, 9.0));
  }
}

} // namespace
} // namespace tov::test
