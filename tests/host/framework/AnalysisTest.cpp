// An analysis as the host opens, keeps and reopens it: its files, data
// access, catalogue of study areas and focus map.
#include "TestWorld.h"

#include "host/common/Paths.h"
#include "host/framework/AnalysisDatabase.h"
#include "host/framework/SqliteStudyAreaCatalog.h"
#include "host/framework/SqliteTextPropertySet.h"
#include "host/gis/HostFeatureLayer.h"

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

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

TEST_F(AnalysisTest, ANewAnalysisHasItsFilesDefaultsAndReferenceLayers) {
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
  EXPECT_EQ(fill->Style(), 1); // hollow
  EXPECT_DOUBLE_EQ(fill->Outline()->Width(), 1.5);
  EXPECT_EQ(fill->Outline()->Color()->RGB(), 0xFF);
  // In the data set's analysis system, showing the whole layer.
  EXPECT_EQ(map->SpatialReference()->FactoryCode(), 5070);
  EnvelopePtr extent = analysis->application->Document()->ActiveView()->Extent();
  extent->Project(sr);
  EXPECT_LE(extent->XMin(), -100.0);
  EXPECT_GE(extent->XMax(), -98.0);
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
  EXPECT_FALSE(again->created);
  EXPECT_EQ(again->extension->CurrentDatasetName(), "Mini");
  EXPECT_EQ(again->extension->ExtensionProperties()->GetProperty("Study Area Name"), "North");
  EXPECT_TRUE(again->dataManager->GetStudyAreaCatalog()->Exists("North"));
  EXPECT_EQ(again->application->Document()->FocusMap()->Name(), "Renamed map");
  EXPECT_EQ(again->application->Document()->FocusMap()->LayerCount(), 1);
}

TEST_F(AnalysisTest, ADocumentThatIsNotUnderstoodKeepsTheAnalysisClosedAndTheFileAsItIs) {
  Open();
  const std::string document = folder + "/document.json";
  std::string text = ReadTextFile(document);
  const std::string layersKey = "\"layers\": [";
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

TEST_F(AnalysisTest, TheDataManagerListsDataSetsAndTheMedia) {
  AnalysisPtr analysis = Open();
  DataManagerPtr dm = analysis->dataManager;
  ASSERT_EQ(dm->DataSetCount(), 1);
  EXPECT_EQ(dm->DataSetName(0), "Mini");
  EXPECT_EQ(dm->DataSetByName("Mini"), dm->DataSet(0));
  EXPECT_THROW(dm->DataSet(1), HostError);
  std::string clock = dm->MediaPath("Clock AVI");
  EXPECT_NE(clock.find("\\clock.gif"), std::string::npos);
  EXPECT_TRUE(fs::exists(ToNativePath(clock)));
  EXPECT_EQ(dm->MediaPath("Unknown"), "");
}

TEST_F(AnalysisTest, RegisteredClassesAreCreatedByProgIdAndReportIntoTheAnalysisLog) {
  AnalysisPtr analysis = Open();
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
    EXPECT_EQ(layer->MinimumScale(), 1500000);
    EXPECT_EQ(layer->MaximumScale(), 1000);
    EXPECT_TRUE(layer->DisplayAnnotation());
    ASSERT_EQ(layer->AnnotationProperties()->Count(), 1);
    LabelClassPtr labels = layer->AnnotationProperties()->Item(0);
    EXPECT_EQ(std::make_tuple(labels->Expression(), labels->MinimumScale(), labels->MaximumScale(),
                              labels->TextSymbol()->Size()),
              std::make_tuple(std::string("[NAME]"), 250000.0, 0.0, 9.0));
  }
}

// The catalogue of study areas in the analysis database.
using testing::TempFolder;

class CatalogTest : public ::testing::Test {
protected:
  void SetUp() override { Reopen(); }
  void Reopen() {
    catalog.reset();
    db = std::make_shared<AnalysisDatabase>(tmp / "analysis.sqlite");
    catalog = std::make_shared<SqliteStudyAreaCatalog>(db, tmp.Path());
  }
  std::vector<std::string> Names() {
    std::vector<std::string> out;
    CollectionPtr names = catalog->Names();
    for (const auto& v : *names) out.push_back(v.ToString());
    return out;
  }
  // Runs child(who) in two processes 'A' and 'B' at once, with this
  // process's catalogue closed; each must end with no failures.
  void InTwoProcesses(const std::function<int(char)>& child) {
    catalog.reset();
    db.reset();
    std::vector<pid_t> children;
    for (char who : {'A', 'B'}) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        int failures = 255;
        try {
          failures = std::min(child(who), 255);
        } catch (...) {
        }
        _exit(failures);
      }
      children.push_back(pid);
    }
    for (pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 0);
    }
  }

  // Adds who-1 .. who-count to a catalogue of the analysis folder kept in
  // `database`, marking each one's folder as its own when asked, as the
  // store's files would; the number of refusals.
  int AddAll(char who, const std::string& database, int count, bool mark) {
    SqliteStudyAreaCatalog childCatalog(std::make_shared<AnalysisDatabase>(database), tmp.Path());
    int failures = 0;
    for (int i = 1; i <= count; ++i) {
      const std::string name = std::string(1, who) + "-" + std::to_string(i);
      if (!childCatalog.Add(name)) ++failures;
      else if (mark) std::ofstream(ToNativePath(childCatalog.Item(name)->FilePath()), std::ios::app) << name << "\n";
    }
    return failures;
  }

  TempFolder tmp;
  AnalysisDatabasePtr db;
  std::shared_ptr<SqliteStudyAreaCatalog> catalog;
};

TEST_F(CatalogTest, AddRefusesExistingAndInvalidNamesWithoutCreatingAnything) {
  ASSERT_TRUE(catalog->Add("Kings County"));
  EXPECT_FALSE(catalog->Add("Kings County"));
  for (const char* bad : {"", " ", " leading", "trailing ", "a/b", "a\\b", "what?", "tab\there",
                          "12345678901234567890123456789012345678901234567890123456789012345"})
    EXPECT_FALSE(catalog->Add(bad)) << bad;
  EXPECT_EQ(Names(), std::vector<std::string>{"Kings County"});
  EXPECT_EQ(catalog->Count(), 1);
  // Names are compared exactly: another case is another name.
  EXPECT_FALSE(catalog->Exists("kings county"));
  EXPECT_TRUE(catalog->Add("kings county"));
}

TEST_F(CatalogTest, NamesComeInCreationOrderCountedFromOne) {
  for (const char* n : {"Zeta", "Alpha", "Mid"}) ASSERT_TRUE(catalog->Add(n));
  CollectionPtr names = catalog->Names();
  ASSERT_EQ(names->Count(), 3);
  EXPECT_EQ(names->Item(1).ToString(), "Zeta");
  EXPECT_EQ(names->Item(3).ToString(), "Mid");
  EXPECT_EQ(catalog->Item("Nowhere"), nullptr);
}

TEST_F(CatalogTest, FilePathIsAnAbsolutePlatformPathInTheRecordsOwnFolderWhoseIdIsNeverReused) {
  ASSERT_TRUE(catalog->Add("A"));
  ASSERT_TRUE(catalog->Item("A"));
  EXPECT_EQ(catalog->Item("A")->FilePath(), ToPlatformPath(tmp.Path()) + "\\StudyAreas\\1\\StudyArea.lyr");
  // Add prepares the folder the store writes into.
  EXPECT_TRUE(fs::is_directory(tmp / "StudyAreas/1"));

  ASSERT_TRUE(catalog->Add("B"));
  std::string pathB = catalog->Item("B")->FilePath();
  catalog->Remove("B");
  Reopen();
  ASSERT_TRUE(catalog->Add("B"));
  EXPECT_NE(catalog->Item("B")->FilePath(), pathB);
  EXPECT_NE(catalog->Item("B")->FilePath().find("\\StudyAreas\\3\\"), std::string::npos);
}

TEST_F(CatalogTest, ANewStudyAreaNeverTakesAFolderThatIsAlreadyThere) {
  // Left by an analysis.sqlite that was deleted: an old study area's files,
  // and something else of the same name as the next folder.
  fs::create_directories(tmp / "StudyAreas/1");
  std::ofstream(tmp / "StudyAreas/1/StudyArea.lyr") << "old";
  std::ofstream(tmp / "StudyAreas/2") << "not a folder";
  ASSERT_TRUE(catalog->Add("New"));
  EXPECT_EQ(catalog->Item("New")->FilePath(), ToPlatformPath(tmp / "StudyAreas/3/StudyArea.lyr"));
  EXPECT_TRUE(fs::is_directory(tmp / "StudyAreas/3"));

  // The database recreated once more: the next free folder again.
  catalog.reset();
  db.reset();
  fs::remove(tmp / "analysis.sqlite");
  Reopen();
  ASSERT_TRUE(catalog->Add("Again"));
  EXPECT_EQ(catalog->Item("Again")->FilePath(), ToPlatformPath(tmp / "StudyAreas/4/StudyArea.lyr"));
  EXPECT_EQ(test::ReadTextFile(tmp / "StudyAreas/1/StudyArea.lyr"), "old");
}

TEST_F(CatalogTest, TwoCataloguesOfOneFolderNeverShareAStudyAreaFolder) {
  // Two processes, each with its own database file but the same analysis
  // folder: only the folder itself can keep them apart.
  InTwoProcesses([this](char who) { return AddAll(who, tmp / (std::string(1, who) + ".sqlite"), 50, true); });
  size_t folders = 0;
  for (const auto& entry : fs::directory_iterator(tmp / "StudyAreas")) {
    ++folders;
    std::ifstream in(entry.path() / "StudyArea.lyr");
    std::string first, second;
    std::getline(in, first);
    EXPECT_FALSE(std::getline(in, second)) << entry.path() << " holds " << first << " and " << second;
  }
  EXPECT_EQ(folders, 100u);
}

TEST_F(CatalogTest, NamesThatLookTheSameAreOneStudyArea) {
  const std::string decomposed = "Cafe\u0301 du Monde", precomposed = "Caf\u00E9 du Monde";
  ASSERT_TRUE(catalog->Add(decomposed));
  EXPECT_FALSE(catalog->Add(precomposed));
  EXPECT_EQ(Names(), std::vector<std::string>{precomposed}); // kept in NFC
  EXPECT_TRUE(catalog->Exists(precomposed));
  EXPECT_TRUE(catalog->Exists(decomposed));
  ASSERT_TRUE(catalog->Item(precomposed));
  ASSERT_TRUE(catalog->Item(decomposed));
  EXPECT_EQ(catalog->Item(decomposed)->FilePath(), catalog->Item(precomposed)->FilePath());

  // Renaming another record to the same name in the other form is refused;
  // a rename to a decomposed name is stored composed.
  ASSERT_TRUE(catalog->Add("Other"));
  EXPECT_THROW(catalog->Item("Other")->SetName(decomposed), HostError);
  catalog->Item("Other")->SetName("Mu\u0308nster");
  EXPECT_TRUE(catalog->Exists("M\u00FCnster"));
  EXPECT_EQ(catalog->Item("M\u00FCnster")->Name(), "M\u00FCnster");

  catalog->Remove(decomposed);
  EXPECT_FALSE(catalog->Exists(precomposed));
  EXPECT_EQ(catalog->Count(), 1);
}

TEST_F(CatalogTest, NamesStoredBeforeNormalisationAreFoundInEitherForm) {
  // A database of the previous schema holding a decomposed name.
  {
    AnalysisDatabase::Statement insert(*db, "INSERT INTO study_areas(name) VALUES(?1)");
    insert.Bind(1, std::string("Cafe\u0301"));
    insert.Step();
  }
  db->Execute("PRAGMA user_version = 1");
  Reopen();
  EXPECT_EQ(db->SchemaVersion(), AnalysisDatabase::kSchemaVersion);
  EXPECT_EQ(Names(), std::vector<std::string>{"Caf\u00E9"});
  EXPECT_TRUE(catalog->Exists("Cafe\u0301"));
}

TEST_F(CatalogTest, RemoveDeletesTheLayerFileAndTheFolderOnlyWhenNothingElseIsLeftAndAcceptsUnknownNames) {
  ASSERT_TRUE(catalog->Add("Empty after"));
  ASSERT_TRUE(catalog->Add("Has more"));
  std::string folder1 = tmp / "StudyAreas/1", folder2 = tmp / "StudyAreas/2";
  std::ofstream(folder1 + "/StudyArea.lyr") << "{}";
  std::ofstream(folder2 + "/StudyArea.lyr") << "{}";
  std::ofstream(folder2 + "/notes.txt") << "kept";

  StudyAreaRecordPtr removed = catalog->Item("Empty after");
  catalog->Remove("Empty after");
  catalog->Remove("Has more");
  // Unknown names and the single blank are nothing to remove.
  EXPECT_NO_THROW(catalog->Remove("Unknown"));
  EXPECT_NO_THROW(catalog->Remove(" "));
  EXPECT_FALSE(fs::exists(folder1));
  EXPECT_FALSE(fs::exists(folder2 + "/StudyArea.lyr"));
  EXPECT_TRUE(fs::exists(folder2 + "/notes.txt"));
  EXPECT_EQ(catalog->Count(), 0);
  // A removed record refuses changes with an error.
  EXPECT_THROW(removed->SetBaseDataSet("USA"), HostError);
  EXPECT_THROW(removed->RecordProperties()->SetProperty("TYPE", "x"), HostError);
  EXPECT_THROW(removed->SetName("Back"), HostError);
}

TEST_F(CatalogTest, RenameKeepsThePathAndRefusesTakenOrInvalidNames) {
  ASSERT_TRUE(catalog->Add("Old"));
  ASSERT_TRUE(catalog->Add("Other"));
  StudyAreaRecordPtr record = catalog->Item("Old");
  std::string p = record->FilePath();
  record->SetName("New");
  EXPECT_EQ(record->Name(), "New");
  EXPECT_FALSE(catalog->Exists("Old"));
  EXPECT_EQ(catalog->Item("New")->FilePath(), p);
  EXPECT_EQ(Names(), (std::vector<std::string>{"New", "Other"}));

  const test::Raised taken = test::ErrorOf([&] { record->SetName("Other"); });
  EXPECT_EQ(taken.number, err::DuplicateKey) << "a taken name was accepted";
  EXPECT_TRUE(test::Has(taken.description, "Other")) << taken.description;
  EXPECT_THROW(record->SetName("bad|name"), HostError);
  EXPECT_EQ(record->Name(), "New");
}

TEST_F(CatalogTest, EverythingSurvivesReopeningTheAnalysis) {
  ASSERT_TRUE(catalog->Add("Kept"));
  const std::pair<std::string, std::string> properties[] = {{"TYPE", "SetupStudyArea.MapList"},
                                                            {"FEATURESLIST", "'1','2'"}};
  {
    StudyAreaRecordPtr record = catalog->Item("Kept");
    record->SetBaseDataSet("USA");
    for (const auto& [key, value] : properties) record->RecordProperties()->SetProperty(key, value);
    auto props = SqliteTextPropertySet::ForFacet(db, "ExtensionProperties");
    props->SetProperty("CurrentExtent", "Kept");
  }
  Reopen();
  StudyAreaRecordPtr record = catalog->Item("Kept");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->BaseDataSet(), "USA");
  for (const auto& [key, value] : properties) EXPECT_EQ(record->RecordProperties()->GetProperty(key), value) << key;
  EXPECT_EQ(record->RecordProperties()->GetProperty("MAINLAYER"), "");
  EXPECT_FALSE(record->RecordProperties()->HasProperty("MAINLAYER"));
  EXPECT_EQ(SqliteTextPropertySet::ForFacet(db, "ExtensionProperties")->GetProperty("CurrentExtent"), "Kept");
}

TEST_F(CatalogTest, ANewAnalysisHasTheDefaultSettingsAndTheCurrentSchema) {
  auto options = SqliteTextPropertySet::ForFacet(db, "ExtensionOptions");
  auto props = SqliteTextPropertySet::ForFacet(db, "ExtensionProperties");
  EXPECT_EQ(options->GetProperty("Use Group Layer For Analysis"), "True");
  EXPECT_EQ(options->GetProperty("ChangeGroupLayerName"), "True");
  EXPECT_TRUE(props->HasProperty("Data Format"));
  EXPECT_EQ(props->GetProperty("Group Layer For Analysis"), "");
  EXPECT_EQ(db->SchemaVersion(), AnalysisDatabase::kSchemaVersion);
  // Reopening does not put the defaults back over the user's choice.
  options->SetProperty("ChangeGroupLayerName", "False");
  Reopen();
  EXPECT_EQ(SqliteTextPropertySet::ForFacet(db, "ExtensionOptions")->GetProperty("ChangeGroupLayerName"), "False");
}

TEST_F(CatalogTest, ADatabaseFromANewerVersionOrAFileThatIsNotADatabaseIsRefusedClearly) {
  db->Execute("PRAGMA user_version = 99");
  catalog.reset();
  db.reset();
  const std::string why = test::ErrorOf([&] { AnalysisDatabase newer(tmp / "analysis.sqlite"); }).description;
  EXPECT_TRUE(test::Has(why, "newer")) << "a newer schema was opened: " << why;
  std::ofstream(tmp / "broken.sqlite") << std::string(4096, 'x');
  EXPECT_THROW(AnalysisDatabase{tmp / "broken.sqlite"}, HostError);
}

// Two processes on one analysis: every Add is its own transaction and the
// busy timeout makes the other wait, so no record is lost.
TEST_F(CatalogTest, TwoProcessesAddingAHundredEachEndWithTwoHundredRecords) {
  InTwoProcesses([this](char who) { return AddAll(who, tmp / "analysis.sqlite", 100, false); });
  Reopen();
  EXPECT_EQ(catalog->Count(), 200);
  std::set<std::string> paths;
  for (const auto& name : Names()) paths.insert(catalog->Item(name)->FilePath());
  EXPECT_EQ(paths.size(), 200u);
}

} // namespace
} // namespace tov::test
