// The step that a failed CreateStudyArea reports, with host failures injected
// at several points, and what the store leaves alone on its way.
#include "TestWorld.h"
#include "HostWrappers.h"
#include "Recorders.h"

#include "host/framework/ResourceComponent.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/HostPolygon.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "store/StudyAreaCreation.h"

namespace tov::test {
namespace {

constexpr char kCreateStudyAreaLocation[] = "CreateStudyArea TovSSA\\TovSSAUtils";

class StudyAreaStepsTest : public ::testing::Test {
protected:
  void SetUp() override {
    analysis = world.Open();
    UseScript("[]");
    application = std::make_shared<DelegatingApplication>(analysis->application);
    extension = std::make_shared<DelegatingExtension>(analysis->extension);
  }

  TextPropertySetPtr Options() { return analysis->extension->ExtensionOptions(); }
  TextPropertySetPtr Properties() { return analysis->extension->ExtensionProperties(); }
  MapPtr FocusMap() { return analysis->application->Document()->FocusMap(); }

  // CreateStudyArea of a small rectangle through the (possibly wrapped)
  // application and data manager.
  bool Create(const std::string& name, DataManagerPtr dataManager = nullptr, GeometryPtr polygon = nullptr) {
    if (!polygon) polygon = Rectangle(-74.6, 40.2, -74.1, 40.8, Geographic(4269));
    if (!dataManager) dataManager = analysis->dataManager;
    HostApplicationPtr app = application;
    HostDatasetPtr dataset = analysis->dataManager->DataSetByName("Test");
    TaskDescriptorPtr task = dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.CurrentExtent");
    std::string saName = name, features;
    return CreateStudyArea(polygon, dataManager, app, saName, dataset, task, features);
  }

  // The step named by the last failure report of CreateStudyArea, "" without one.
  std::string ReportedStep() const {
    std::string step;
    for (const Report& report : recorder.Reports()) {
      if (report.location != kCreateStudyAreaLocation) continue;
      const size_t at = report.description.rfind("nStep = ");
      step = at == std::string::npos ? "?" : report.description.substr(at + 8);
    }
    return step;
  }

  bool InFocusMap(const std::string& name) {
    for (long i = 0; i < FocusMap()->LayerCount(); ++i) {
      LayerPtr layer = FocusMap()->Layer(i);
      if (layer->Name() == name) return true;
      if (auto group = As<GroupLayer>(layer))
        for (long j = 0; j < group->Count(); ++j)
          if (group->Layer(j)->Name() == name) return true;
    }
    return false;
  }

  TestWorld world;
  AnalysisPtr analysis;
  ReportRecorder recorder;
  std::shared_ptr<DelegatingApplication> application;
  std::shared_ptr<DelegatingExtension> extension;
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

class ExtensionWithoutOptions : public DelegatingExtension {
public:
  using DelegatingExtension::DelegatingExtension;
  TextPropertySetPtr ExtensionOptions() override { return nullptr; }
};

class ExtensionWithoutCurrentGeometry : public DelegatingExtension {
public:
  using DelegatingExtension::DelegatingExtension;
  GeometryPtr CurrentStudyAreaGeometry() override { return nullptr; }
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
  EXPECT_FALSE(Create("No record", std::make_shared<DataManagerWithoutRecords>(analysis->dataManager)));
  EXPECT_EQ(ReportedStep(), "6");

  // The layer is made at step 9 and first used at step 10.
  {
    ClassOverride noLayers(kFeatureLayerProgId, [] { return ObjectPtr(); });
    EXPECT_FALSE(Create("No layer"));
  }
  EXPECT_EQ(ReportedStep(), "10");

  {
    ClassOverride unsavable(kLayerFileProgId, ClassOverride::Of<UnsavableLayerFile>());
    EXPECT_FALSE(Create("Unsaved"));
  }
  EXPECT_EQ(ReportedStep(), "17");
  EXPECT_FALSE(InFocusMap("Unsaved"));

  // "CurrentExtent" is written (step 19) before the options are read (20).
  application->extension = std::make_shared<ExtensionWithoutOptions>(analysis->extension);
  EXPECT_FALSE(Create("No options"));
  EXPECT_EQ(ReportedStep(), "20");
  EXPECT_EQ(Properties()->GetProperty("CurrentExtent"), "No options");
}

TEST_F(StudyAreaStepsTest, TheGroupLayerTextIsReadOnlyWhenTheGroupLayerIsRenamed) {
  ClassOverride texts(kTextResourcesProgId, ClassOverride::Of<TextsWithout189>());
  Options()->SetProperty("ChangeGroupLayerName", "False");
  Properties()->SetProperty("Group Layer For Analysis", "Kept");
  EXPECT_TRUE(Create("Not renamed"));
  EXPECT_EQ(ReportedStep(), "");
  EXPECT_EQ(Properties()->GetProperty("Group Layer For Analysis"), "Kept");

  Options()->SetProperty("ChangeGroupLayerName", "True");
  EXPECT_FALSE(Create("Renamed"));
  EXPECT_EQ(ReportedStep(), "20");
  EXPECT_EQ(Properties()->GetProperty("CurrentExtent"), "Renamed");
  EXPECT_EQ(Properties()->GetProperty("Group Layer For Analysis"), "Kept");
}

TEST_F(StudyAreaStepsTest, WithoutALayerTheStoreFailsWhereTheLayerJoinsTheMap) {
  GeometryPtr polygon;
  {
    ClassOverride noEnvelope(kPolygonProgId, ClassOverride::Of<PolygonWithoutEnvelope>());
    polygon = Rectangle(-74.6, 40.2, -74.1, 40.8, Geographic(4269));
  }
  Options()->SetProperty("Use Group Layer For Analysis", "False");
  EXPECT_FALSE(Create("Loose", nullptr, polygon));
  EXPECT_EQ(ReportedStep(), "26");

  Options()->SetProperty("Use Group Layer For Analysis", "True");
  EXPECT_FALSE(Create("Grouped", nullptr, polygon));
  EXPECT_EQ(ReportedStep(), "23");
}

TEST_F(StudyAreaStepsTest, TheViewIsTouchedOnlyWhenThereIsACurrentStudyAreaGeometry) {
  application->document = std::make_shared<DocumentWithoutView>(analysis->application->Document());
  application->extension = std::make_shared<ExtensionWithoutCurrentGeometry>(analysis->extension);
  EXPECT_TRUE(Create("Unzoomed"));
  EXPECT_EQ(ReportedStep(), "");
  EXPECT_TRUE(InFocusMap("Unzoomed"));

  application->extension = extension;
  EXPECT_FALSE(Create("Zoomed"));
  EXPECT_EQ(ReportedStep(), "29");
  EXPECT_TRUE(InFocusMap("Zoomed"));
}

} // namespace
} // namespace tov::test
