// Storing a study area: data formats, group layers, outlines across maps,
// storing again, the coordinate system, and the step a failure report names.
#include "AnalysisViews.h"
#include "Recorders.h"
#include "WorldTest.h"

#include "host/common/Paths.h"
#include "host/framework/ResourceComponent.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/HostPolygon.h"
#include "manage/ManageUtils.h"
#include "store/AnalysisSpatialReference.h"
#include "store/GroupLayers.h"
#include "store/StudyAreaCreation.h"
#include "store/StudyAreaDataset.h"

namespace tov::test {
namespace {

class StudyAreaStoreTest : public WorldTest {
protected:
  void SetUp() override { OpenAnalysis(); }
  std::string FilePath(const std::string& name) { return ToNativePath(Catalog()->Item(name)->FilePath()); }
};

// Only "Personal Geodatabase" exactly gives a GeoPackage (with an object id);
// each comes back as stored when reopened.
TEST_F(StudyAreaStoreTest, EachDataFormatGivesItsKindOfDatasetAndComesBackReopened) {
  const std::pair<const char*, bool> formats[] = {
      {"Personal Geodatabase", true}, {"", false}, {"Shapefile", false}, {"personal geodatabase", false}};
  for (size_t i = 0; i < 4; ++i) {
    Properties()->SetProperty("Data Format", formats[i].first);
    ASSERT_TRUE(Store("Area" + std::to_string(i), -74.6));
  }
  SaveAnalysis(*analysis);
  analysis = world->Open();
  for (size_t i = 0; i < 4; ++i) {
    const auto& [format, geoPackage] = formats[i];
    FeatureLayerPtr layer = OpenLayerFileLayer(Catalog()->Item("Area" + std::to_string(i))->FilePath());
    ASSERT_TRUE(layer) << format;
    EXPECT_EQ(layer->FeatureClass()->FeatureCount(nullptr), 1) << format;
    const fs::path data = ToNativePath(layer->FeatureClass()->Workspace()->PathName());
    const bool shapefile = fs::exists(fs::path(FilePath("Area" + std::to_string(i))).replace_extension(".shp"));
    EXPECT_EQ((std::vector<bool>{data.extension() == ".gpkg", !fs::is_directory(data), !shapefile}),
              std::vector<bool>(3, geoPackage)) << format;
    if (geoPackage) { EXPECT_EQ(layer->FeatureClass()->OIDFieldName(), "OID"); }
  }
  EXPECT_EQ(Properties()->GetProperty("Data Format"), "personal geodatabase");
  EXPECT_EQ(Inconsistencies(*world), std::vector<std::string>{});
}

// The group layer option must be exactly "True"; an empty group name gives
// "My Analyses", new layers going first.
TEST_F(StudyAreaStoreTest, GroupLayerOptionAndName) {
  Options()->SetProperty("Use Group Layer For Analysis", "true");
  const long before = FocusMap()->LayerCount();
  ASSERT_TRUE(Store("Loose", -74.6));
  EXPECT_EQ(FocusMap()->LayerCount(), before + 1);
  EXPECT_FALSE(As<GroupLayer>(FindLayer(FocusMap(), "Analyses created for Loose")) ||
               As<GroupLayer>(FocusMap()->Layer(before)));

  Options()->SetProperty("Use Group Layer For Analysis", "True");
  Options()->SetProperty("ChangeGroupLayerName", "False");
  Properties()->SetProperty("Group Layer For Analysis", "");
  ASSERT_TRUE(Store("One", -74.6));
  ASSERT_TRUE(Store("Two", -74.0));
  auto group = GetGroupLayerByName(FocusMap(), "My Analyses");
  ASSERT_TRUE(group);
  ASSERT_EQ(group->Count(), 2);
  const std::string groupName = Properties()->GetProperty("Group Layer For Analysis");
  EXPECT_EQ(std::tuple(group->Layer(0)->Name(), group->Layer(1)->Name(), groupName), std::tuple("Two", "One", ""));
}

// Layer tree helpers need no analysis.
TEST(StudyAreaLayersTest, GroupsFoundOnlyAtTheTopByExactNameAndTheLastLayerMovedToTop) {
  MapPtr map = CreateAs<Map>("orvaCore.Map");
  auto outer = NewGroup("Outer");
  outer->Add(NewGroup("Inner"));
  map->AddLayer(outer);
  map->AddLayer(NewGroup("Analyses"));
  EXPECT_FALSE(GetGroupLayerByName(map, "Inner") || GetGroupLayerByName(map, "analyses"));
  ASSERT_TRUE(GetGroupLayerByName(map, "Analyses"));
  EXPECT_EQ(GetGroupLayerByName(map, "Analyses")->Name(), "Analyses");
  map->AddLayer(NamedLayer("Plain"));
  EXPECT_FALSE(GetGroupLayerByName(map, "Plain"));

  // Moving the last layer to the top keeps the others in order.
  for (const auto& [names, moved] : {std::pair{"a", "a"}, std::pair{"abc", "cab"}}) {
    auto group = NewGroup("Group");
    for (const char* name = names; *name; ++name) group->Add(NamedLayer(std::string(1, *name)));
    MoveLastLayerToTop(group);
    std::string order;
    for (long i = 0; i < group->Count(); ++i) order += group->Layer(i)->Name();
    EXPECT_EQ(order, moved);
  }
}

TEST_F(StudyAreaStoreTest, OutlinesMarkTheCurrentStudyAreaInEveryMap) {
  const auto width = [](const MapPtr& map, const char* name) { return OutlineWidth(FindLayer(map, name)); };
  ASSERT_TRUE(Store("First", -74.6));
  EXPECT_DOUBLE_EQ(width(FocusMap(), "First"), 4.0);

  // A second map shows the first study area and a layer that is no study area.
  MapPtr other = CreateAs<Map>("orvaCore.Map");
  for (const char* name : {"First", "Not a study area"}) {
    FeatureLayerPtr layer = OpenLayerFileLayer(ToPlatformPath(FilePath("First")));
    ASSERT_TRUE(layer);
    layer->SetName(name);
    if (std::string(name) != "First") SetOutlineWidth(layer, 1.5);
    other->AddLayer(layer);
  }
  analysis->application->Document()->AddMap(other);
  const double referenceWidth = width(FocusMap(), "Regions");

  ASSERT_TRUE(Store("Second", -74.0));
  // Widths in the focus map (Second, First, Regions), then the other map (First, not a study area).
  EXPECT_EQ((std::vector<double>{width(FocusMap(), "Second"), width(FocusMap(), "First"), width(FocusMap(), "Regions"),
                                 width(other, "First"), width(other, "Not a study area")}),
            (std::vector<double>{4.0, 2.0, referenceWidth, 2.0, 1.5}));
}

std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) files.insert(entry.path().string());
  return files;
}

// Storing again from the property sheet replaces the shape in place; as a
// new study area it fails, and the report names the step.
TEST_F(StudyAreaStoreTest, StoringAgainReplacesTheShapeOnlyFromThePropertySheet) {
  ASSERT_TRUE(Store("Again", -74.6));
  const fs::path folder = fs::path(FilePath("Again")).parent_path();
  const std::set<std::string> before = FilesUnder(folder);
  const auto layerFileTime = fs::last_write_time(FilePath("Again"));

  ASSERT_TRUE(Store("Again", -73.9, true));
  EXPECT_EQ(std::tuple(FilesUnder(folder), fs::last_write_time(FilePath("Again"))), std::tuple(before, layerFileTime));

  FeatureLayerPtr layer = OpenLayerFileLayer(ToPlatformPath(FilePath("Again")));
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->FeatureClass()->FeatureCount(nullptr), 1);
  GeometryPtr shape = layer->FeatureClass()->Search(nullptr, false)->NextFeature()->Shape();
  EXPECT_NEAR(InDegrees(shape)->Envelope()->XMin(), -73.9, 1e-6);
  EXPECT_EQ(CurrentStudyArea(), "Again");

  EXPECT_FALSE(Store("Again", -74.0));
  const std::string log = ReadTextFile(analysis->folder + "/log.txt");
  for (const char* part : {"CreateStudyArea TovSSA\\TovSSAUtils", "Moduble name = CreateStudyArea", "nStep = 3"})
    EXPECT_TRUE(Has(log, part)) << part << " in " << log;
}

TEST(AnalysisSpatialReferenceTest, FallsBackToNad83UnlessTheDataSetNamesASystem) {
  const std::pair<const char*, long> cases[] = {
      {"", 4269}, {R"({"Type": "Geographic", "ID": "4326"})", 4326}, {R"({"Type": "Projected", "ID": "5070"})", 5070},
      {R"({"Type": "Projected"})", 4269}, {R"({"Type": "Geographic", "ID": "many"})", 4269},
      {R"({"Type": "Local", "ID": "5070"})", 4269}};
  for (const auto& [projection, expected] : cases) {
    TestWorld world(projection);
    SpatialReferencePtr sr = GetAnalysisSpatialReference(world.Open()->application);
    ASSERT_TRUE(sr) << projection;
    EXPECT_EQ(sr->FactoryCode(), expected) << projection;
  }
  EXPECT_EQ(std::pair(CreateWGS84SR()->FactoryCode(), CreateAuthalicSR()->FactoryCode()), std::pair(4326L, 4035L));
}

constexpr char kCreateStudyAreaLocation[] = "CreateStudyArea TovSSA\\TovSSAUtils";

class StudyAreaStepsTest : public WorldTest {
protected:
  void SetUp() override {
    OpenAnalysis();
    application = std::make_shared<DelegatingApplication>(analysis->application);
  }

  // CreateStudyArea of a small rectangle through the (possibly wrapped)
  // application and data manager; the step its failure report names ("" when it succeeds).
  std::string StepOf(const std::string& name, DataManagerPtr dataManager = nullptr, GeometryPtr polygon = nullptr) {
    if (!polygon) polygon = Rectangle(-74.6, 40.2, -74.1, 40.8, Geographic(4269));
    if (!dataManager) dataManager = analysis->dataManager;
    HostApplicationPtr app = application;
    HostDatasetPtr dataset = Dataset();
    TaskDescriptorPtr task = Method();
    std::string saName = name, features;
    const size_t before = recorder.Reports().size();
    const bool stored = CreateStudyArea(polygon, dataManager, app, saName, dataset, task, features);
    std::string step;
    for (size_t i = before; i < recorder.Reports().size(); ++i) {
      const Report& report = recorder.Reports()[i];
      if (report.location != kCreateStudyAreaLocation) continue;
      const size_t at = report.description.rfind("nStep = ");
      step = at == std::string::npos ? "?" : report.description.substr(at + 8);
    }
    EXPECT_EQ(stored, step.empty()) << name;
    return step;
  }

  ReportRecorder recorder;
  std::shared_ptr<DelegatingApplication> application;
};

class CatalogWithoutRecords : public DelegatingCatalog {
public:
  using DelegatingCatalog::DelegatingCatalog;
  StudyAreaRecordPtr Item(const std::string&) override { return nullptr; }
};

class DataManagerWithoutRecords : public DelegatingDataManager {
public:
  using DelegatingDataManager::DelegatingDataManager;
  StudyAreaCatalogPtr GetStudyAreaCatalog() override {
    return std::make_shared<CatalogWithoutRecords>(m_inner->GetStudyAreaCatalog());
  }
};

class UnsavableLayerFile : public HostLayerFile {
public:
  void Save(const std::string&) override { throw HostError(75, "LayerFile", "Path/File access error"); }
};

// An extension without options (true) or without the current study area's shape (false).
class LackingExtension : public DelegatingExtension {
public:
  LackingExtension(TovExtensionPtr inner, bool noOptions) : DelegatingExtension(std::move(inner)), m_noOptions(noOptions) {}
  TextPropertySetPtr ExtensionOptions() override { return m_noOptions ? nullptr : m_inner->ExtensionOptions(); }
  GeometryPtr CurrentStudyAreaGeometry() override { return m_noOptions ? m_inner->CurrentStudyAreaGeometry() : nullptr; }

private:
  bool m_noOptions;
};

// The focus map is shown through a map object that is not its view.
class DocumentWithoutView : public DelegatingDocument {
public:
  using DelegatingDocument::DelegatingDocument;
  MapPtr FocusMap() const override { return std::make_shared<DelegatingMap>(m_inner->FocusMap()); }
};

class TextsWithout189 : public TextResources {
public:
  std::string FindString(const std::string& id) override {
    if (id == "189") throw HostError(326, "TovSetupStudyAreaRes", "Resource with identifier '189' not found");
    return TextResources::FindString(id);
  }
};

class PolygonWithoutEnvelope : public HostPolygon {
public:
  EnvelopePtr Envelope() const override { return nullptr; }
};

TEST_F(StudyAreaStepsTest, AMissingObjectFailsAtTheStepThatFirstUsesIt) {
  // The record is read at step 5 and first used at step 6.
  EXPECT_EQ(StepOf("No record", std::make_shared<DataManagerWithoutRecords>(analysis->dataManager)), "6");

  // The layer is made at step 9 and first used at step 10.
  {
    ClassOverride noLayers(kFeatureLayerProgId, [] { return ObjectPtr(); });
    EXPECT_EQ(StepOf("No layer"), "10");
  }
  {
    ClassOverride unsavable(kLayerFileProgId, ClassOverride::Of<UnsavableLayerFile>());
    EXPECT_EQ(StepOf("Unsaved"), "17");
  }
  EXPECT_FALSE(FindLayer(FocusMap(), "Unsaved"));

  // "CurrentExtent" is written (step 19) before the options are read (20).
  application->extension = std::make_shared<LackingExtension>(analysis->extension, true);
  EXPECT_EQ(StepOf("No options"), "20");
  EXPECT_EQ(CurrentStudyArea(), "No options");
}

TEST_F(StudyAreaStepsTest, TheGroupLayerTextIsReadOnlyWhenTheGroupLayerIsRenamed) {
  ClassOverride texts(kTextResourcesProgId, ClassOverride::Of<TextsWithout189>());
  Options()->SetProperty("ChangeGroupLayerName", "False");
  Properties()->SetProperty("Group Layer For Analysis", "Kept");
  EXPECT_EQ(StepOf("Not renamed"), "");
  EXPECT_EQ(Properties()->GetProperty("Group Layer For Analysis"), "Kept");

  Options()->SetProperty("ChangeGroupLayerName", "True");
  EXPECT_EQ(StepOf("Renamed"), "20");
  EXPECT_EQ(std::tuple(CurrentStudyArea(), Properties()->GetProperty("Group Layer For Analysis")),
            std::tuple("Renamed", "Kept"));
}

TEST_F(StudyAreaStepsTest, WithoutALayerOrAViewTheStoreFailsWhereItIsFirstUsed) {
  GeometryPtr polygon;
  {
    ClassOverride noEnvelope(kPolygonProgId, ClassOverride::Of<PolygonWithoutEnvelope>());
    polygon = Rectangle(-74.6, 40.2, -74.1, 40.8, Geographic(4269));
  }
  Options()->SetProperty("Use Group Layer For Analysis", "False");
  EXPECT_EQ(StepOf("Loose", nullptr, polygon), "26");

  Options()->SetProperty("Use Group Layer For Analysis", "True");
  EXPECT_EQ(StepOf("Grouped", nullptr, polygon), "23");

  // The view is touched only when there is a current study area geometry.
  application->document = std::make_shared<DocumentWithoutView>(analysis->application->Document());
  application->extension = std::make_shared<LackingExtension>(analysis->extension, false);
  EXPECT_EQ(StepOf("Unzoomed"), "");
  application->extension = nullptr; // the analysis's own
  EXPECT_EQ(StepOf("Zoomed"), "29");
  EXPECT_TRUE(FindLayer(FocusMap(), "Unzoomed") && FindLayer(FocusMap(), "Zoomed"));
}

} // namespace
} // namespace tov::test
