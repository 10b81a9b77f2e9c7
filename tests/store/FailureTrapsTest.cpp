// Where the component ignores failures it ignores all of them, a handler
// that cannot be set up is reported, the cached module handlers and text
// resources follow a class registered again, and a method page that fails
// ends the run as Cancel would.
#include "TestWorld.h"
#include "HostWrappers.h"
#include "Recorders.h"

#include "host/gis/HostPolygon.h"
#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"
#include "pages/modi18N.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/framework/ITovTask.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/MapQueries.h"

#include <stdexcept>

namespace tov::test {
namespace {

class FailureTrapsTest : public ::testing::Test {
protected:
  void SetUp() override {
    analysis = world.Open();
    UseScript("[]");
  }
  Variant ApplicationParam() { return Variant(std::static_pointer_cast<Object>(analysis->application)); }

  TestWorld world;
  AnalysisPtr analysis;
};

class PolygonThatCannotSimplify : public HostPolygon {
public:
  void Simplify() override { throw std::runtime_error("simplify is not available"); }
};

class ExtensionWithBrokenDataManager : public DelegatingExtension {
public:
  using DelegatingExtension::DelegatingExtension;
  DataManagerPtr GetDataManager() override { throw std::runtime_error("the data manager is gone"); }
};

class DocumentWithBrokenFocusMap : public DelegatingDocument {
public:
  using DelegatingDocument::DelegatingDocument;
  MapPtr FocusMap() const override { throw std::logic_error("no focus map"); }
};

TEST_F(FailureTrapsTest, FailuresThatAreIgnoredIncludeForeignExceptions) {
  {
    ClassOverride polygons(kPolygonProgId, ClassOverride::Of<PolygonThatCannotSimplify>());
    auto function = std::make_shared<TovSSACurExtentFunction>();
    Variant application = ApplicationParam();
    function->SetParam("Application", application);
    EXPECT_TRUE(function->Start());
    EXPECT_TRUE(function->Geometry());
  }

  auto application = std::make_shared<DelegatingApplication>(analysis->application);
  application->extension = std::make_shared<ExtensionWithBrokenDataManager>(analysis->extension);
  SpatialReferencePtr none;
  EXPECT_NO_THROW(none = GetAnalysisSpatialReference(application));
  EXPECT_FALSE(none);

  application->extension = nullptr;
  application->document = std::make_shared<DocumentWithBrokenFocusMap>(analysis->application->Document());
  std::string summary = "not run";
  EXPECT_NO_THROW(summary = GetSelectionSummary(application));
  EXPECT_EQ(summary, "");
}

TEST_F(FailureTrapsTest, TheSelectionSummaryFailsOnAFeatureLayerWithoutData) {
  const std::string header = "The new study area will be created from:\r\n\r\n";
  EXPECT_EQ(GetSelectionSummary(analysis->application), header);

  auto orphan = CreateAs<FeatureLayer>(kFeatureLayerProgId);
  orphan->SetName("Data gone");
  analysis->application->Document()->FocusMap()->AddLayer(orphan);
  EXPECT_EQ(GetSelectionSummary(analysis->application), "");
}

// A handler that records its reports but refuses to be set up.
class StubbornErrorHandler : public RecordingErrorHandler {
public:
  using RecordingErrorHandler::RecordingErrorHandler;
  void SetProperty(const std::string& name, const Variant&) override {
    throw HostError(438, "TovKernel", "Object doesn't support this property or method: " + name);
  }
};

TEST_F(FailureTrapsTest, AHandlerThatCannotBeSetUpReportsClassInitializeAndStaysInUse) {
  std::vector<Report> reports;
  ClassOverride handlers(kErrorHandlerProgId, [&reports] {
    return std::static_pointer_cast<Object>(std::make_shared<StubbornErrorHandler>(&reports));
  });

  TovSSACurExtentTask task;
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].location, "Class_Initialize TovSetupStudyArea\\TovSSACurExtentTask");
  EXPECT_EQ(reports[0].number, 438);

  auto function = std::make_shared<TovSSACurExtentFunction>();
  Variant value(true);
  function->SetParam("Unknown", value);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[1].location, "Class_Initialize TovSetupStudyArea\\TovSSACurExtentFunction");
  EXPECT_EQ(reports[2].location, "ITovFunction_SetParam TovSetupStudyArea\\TovSSACurExtentFunction");
}

class FixedTexts : public ResourceFinder {
public:
  std::string FindString(const std::string& id) override { return "text " + id; }
  ResourcePicturePtr FindCursor(const std::string&) override { return nullptr; }
};

TEST_F(FailureTrapsTest, CachedHandlersAndTextsFollowAClassRegisteredAgain) {
  // First use of the store's handler and of the texts with the host's classes.
  GetLayerByNameFromMap("Regions", nullptr);
  const std::string hostText = GetTextResources()->FindString("101");
  ASSERT_NE(hostText, "text 101");

  {
    ReportRecorder recorder;
    EXPECT_FALSE(GetLayerByNameFromMap("Regions", nullptr));
    ASSERT_EQ(recorder.Reports().size(), 1u);
    EXPECT_EQ(recorder.Reports()[0].location, "GetLayerByNameFromMap TovSSA\\TovSSAUtils");
  }
  {
    ClassOverride texts(kTextResourcesProgId, ClassOverride::Of<FixedTexts>());
    EXPECT_EQ(GetTextResources()->FindString("101"), "text 101");
  }
  EXPECT_EQ(GetTextResources()->FindString("101"), hostText);
}

TEST(PageFailureTest, AMethodPageThatFailsEndsTheRunAsCancelWould) {
  TestWorldOptions options;
  options.extraMethods = R"({ "name": "SetupStudyArea.MapList", "caption": "Regions from a list",
      "properties": { "MainLayer": "Regions" },
      "layers": [ { "name": "Regions", "properties": { "ListField": "NAME" } } ], "children": [] })";
  TestWorld world(options);
  AnalysisPtr analysis = world.Open();
  UseScript("[]");
  HostDatasetPtr dataset = analysis->dataManager->DataSetByName("Test");
  TaskDescriptorPtr descriptor = dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.MapList");

  struct Case {
    const char* progId;
    std::string location;
  };
  for (const Case& c : {Case{kSelZipCodesTaskProgId, "ShowSelectZipCodesDialog TovSetupStudyArea\\TovSSASelZipCodesTask"},
                        Case{kSelDrawingTaskProgId,
                             "ShowSelectByDrawingOwnAreaDialog TovSetupStudyArea\\TovSSASelDrawingTask"},
                        Case{kMapListTaskProgId, "ShowSelectFromListDialog TovSetupStudyArea\\TovSSAMapListTask"}}) {
    ReportRecorder recorder;
    auto task = CreateAs<ITovTask>(c.progId);
    Variant ssaTask(std::static_pointer_cast<Object>(descriptor)), dataSet(std::static_pointer_cast<Object>(dataset));
    task->SetParam("SSATask", ssaTask);
    task->SetParam("DataSet", dataSet);
    ASSERT_TRUE(task->Init(analysis->dataManager, analysis->application)) << c.progId;
    // The descriptor gone, the first page fails before it is shown: the run
    // ends as Cancel would, not with 0, which would go on to the function.
    Variant none{ObjectPtr()};
    task->SetParam("SSATask", none);
    EXPECT_EQ(task->DoParamSelector(), -1) << c.progId;
    ASSERT_EQ(recorder.Reports().size(), 1u) << c.progId;
    EXPECT_EQ(recorder.Reports()[0].location, c.location);
  }
}

} // namespace
} // namespace tov::test
