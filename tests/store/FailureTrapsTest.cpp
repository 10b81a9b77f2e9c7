// Ignored failures include foreign exceptions; a handler that cannot be set up
// is reported; cached handlers and texts follow a class registered again.
#include "Recorders.h"
#include "WorldTest.h"

#include "host/gis/HostPolygon.h"
#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"
#include "pages/modi18N.h"
#include "store/AnalysisSpatialReference.h"
#include "store/MapQueries.h"

namespace tov::test {
namespace {

class FailureTrapsTest : public WorldTest {
protected:
  void SetUp() override { OpenAnalysis(); }
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

TEST_F(FailureTrapsTest, FailuresThatAreIgnoredIncludeForeignExceptionsAndALayerWithoutData) {
  {
    ClassOverride polygons(kPolygonProgId, ClassOverride::Of<PolygonThatCannotSimplify>());
    TovSSACurExtentFunction function;
    SetParams(function, {{"Application", Variant(analysis->application)}});
    EXPECT_TRUE(function.Start() && function.Geometry());
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

  // The selection summary fails on a feature layer without data.
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
  auto function = std::make_shared<TovSSACurExtentFunction>();
  SetParams(*function, {{"Unknown", Variant(true)}});
  std::vector<std::string> locations;
  for (const Report& report : reports) locations.push_back(report.location);
  EXPECT_EQ(locations, (std::vector<std::string>{"Class_Initialize TovSetupStudyArea\\TovSSACurExtentTask",
                                                 "Class_Initialize TovSetupStudyArea\\TovSSACurExtentFunction",
                                                 "ITovFunction_SetParam TovSetupStudyArea\\TovSSACurExtentFunction"}));
  EXPECT_EQ(reports.at(0).number, 438);
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
    EXPECT_EQ(recorder.Locations(), std::vector<std::string>{"GetLayerByNameFromMap TovSSA\\TovSSAUtils"});
  }
  {
    ClassOverride texts(kTextResourcesProgId, ClassOverride::Of<FixedTexts>());
    EXPECT_EQ(GetTextResources()->FindString("101"), "text 101");
  }
  EXPECT_EQ(GetTextResources()->FindString("101"), hostText);
}

} // namespace
} // namespace tov::test
