// The drawn area method run as the host runs it: the drawing page, the name
// page, and the drawn shape stored as the study area; drawn again from the
// study area's property sheet.
#include "DrawnTestSupport.h"

#include "GisBuilders.h"
#include "host/join/DrawnAreaRebuilder.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "methods/drawn/TovSSASelDrawingFunction.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Envelope.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "support/HostWrappers.h"

#include <cmath>
#include <filesystem>

namespace tov::test {
namespace {

constexpr char kSquare[] = R"({"rectangle": [-74.5, 40.5, -74, 41]})";

std::string CancelTurn() {
  return R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [{"click": "CancelButton"}]})";
}

// The square in the analysis system, as the store keeps it.
double SquareArea() {
  PolygonPtr square = Rectangle(-74.5, 40.5, -74, 41, Geographic(4269));
  square->Project(Projected(5070));
  return square->Area();
}

void ExpectSameEnvelope(const EnvelopePtr& a, const EnvelopePtr& b, double tolerance) {
  ASSERT_TRUE(a && b);
  EXPECT_NEAR(a->XMin(), b->XMin(), tolerance);
  EXPECT_NEAR(a->YMin(), b->YMin(), tolerance);
  EXPECT_NEAR(a->XMax(), b->XMax(), tolerance);
  EXPECT_NEAR(a->YMax(), b->YMax(), tolerance);
}

// The method's function, counting the steps the progress runner asks for.
class CountingFunction : public TovSSASelDrawingFunction {
public:
  static int steps;
  bool DoStep() override {
    ++steps;
    return TovSSASelDrawingFunction::DoStep();
  }
};
int CountingFunction::steps = 0;

TEST_F(DrawnMethodTest, TheDrawnShapeIsStoredInStartWithAnEmptyFeaturesList) {
  ClassOverride counting(kSelDrawingFunctionProgId, ClassOverride::Of<CountingFunction>());
  CountingFunction::steps = 0;
  auto presenter = UseDrawingScript(DrawTurn("SelectFeature", kSquare) + "," + NameTurn("Harbour"));
  HostTaskRunResult result = RunAll();
  presenter->CheckFinished();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.lastError, 0);
  EXPECT_EQ(CountingFunction::steps, 1);
  TextPropertySetPtr record = analysis->dataManager->GetStudyAreaCatalog()->Item("Harbour")->RecordProperties();
  EXPECT_EQ(record->GetProperty("TYPE"), "SetupStudyArea.DrawOwn");
  EXPECT_EQ(record->GetProperty("FEATURESLIST"), "");
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), SquareArea(), SquareArea() * 1e-6);
}

TEST_F(DrawnMethodTest, BackFromTheNamePageAndALaterRunShowTheAreaAndTheExtentItHad) {
  auto propertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  auto presenter = UseDrawingScript(
      R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [
          {"toolbar": "Toolbar1", "button": "ZoomIn"},
          {"mapdown": "MapControl", "map": [-74, 41], "track": {"rectangle": [-74.8, 40.2, -73.8, 41.2]}},
          {"toolbar": "Toolbar1", "button": "SelectFeature"},
          {"mapdown": "MapControl", "map": [-74, 41], "track": )" +
      std::string(kSquare) + R"(}, {"click": "NextButton"}]},
        {"form": "SelectSANameDialog", "actions": [{"click": "BackButton"}]}, )" +
      CancelTurn());
  EXPECT_EQ(RunPages(propertySet), -1);
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_EQ(presenter->seen.size(), 2u);
  EXPECT_FALSE(presenter->seen[0].nextEnabled);
  const DrawingPageRecorder::Seen back = presenter->seen[1];
  EXPECT_TRUE(back.nextEnabled);
  auto zoomed = CreateAs<Envelope>(kEnvelopeProgId);
  zoomed->PutCoords(-74.8, 40.2, -73.8, 41.2);
  ExpectSameEnvelope(back.extent, zoomed, 1e-9);
  ASSERT_TRUE(back.area && !back.area->IsEmpty());

  presenter = UseDrawingScript(CancelTurn());
  EXPECT_EQ(RunPages(propertySet), -1);
  ASSERT_EQ(presenter->seen.size(), 1u);
  EXPECT_TRUE(presenter->seen[0].nextEnabled);
  ExpectSameEnvelope(presenter->seen[0].extent, zoomed, 1e-9);
  ExpectSameEnvelope(presenter->seen[0].area, back.area, 1e-6);
  EXPECT_NE(task->Feature(), nullptr);
}

class RefusingCatalog : public DelegatingCatalog {
public:
  using DelegatingCatalog::DelegatingCatalog;
  bool Add(const std::string&) override { return false; }
};

class RefusingDataManager : public DelegatingDataManager {
public:
  using DelegatingDataManager::DelegatingDataManager;
  StudyAreaCatalogPtr GetStudyAreaCatalog() override {
    return std::make_shared<RefusingCatalog>(m_inner->GetStudyAreaCatalog());
  }
};

TEST_F(DrawnMethodTest, TheFunctionNeedsTheFeatureAndAStoreThatFailsGivesLastError47) {
  // A feature as the drawing page leaves it.
  UseDrawingScript(DrawTurn("SelectFeature", kSquare, "CancelButton"));
  ASSERT_EQ(RunPages(CreateAs<TaskPropertySet>(kTaskPropertySetProgId)), -1);
  ASSERT_TRUE(task->Feature());

  auto function = CreateAs<ITovFunction>(kSelDrawingFunctionProgId);
  std::vector<std::pair<const char*, Variant>> params = {
      {"Application", Variant(analysis->application)},
      {"DataManager", Variant(std::make_shared<RefusingDataManager>(analysis->dataManager))},
      {"StudyAreaName", Variant("Harbour")},
      {"DataSet", Variant(DataSet())},
      {"SSATask", Variant(Method())},
      {"FromPropertyPage", Variant(false)}};
  for (auto& [key, value] : params) function->SetParam(key, value);
  EXPECT_FALSE(function->Init());
  EXPECT_EQ(function->LastError(), 47);

  Variant feature(task->Feature());
  function->SetParam("Feature", feature);
  ASSERT_TRUE(function->Init());
  EXPECT_FALSE(function->Start());
  EXPECT_EQ(function->LastError(), 47);
  EXPECT_FALSE(function->DoStep());
  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 0);
}

class DrawAgainTest : public DrawnMethodTest {
protected:
  void SetUp() override {
    DrawnMethodTest::SetUp();
    RegisterHostStudyAreaClasses();
    RegisterDrawnAreaRebuilder();
  }
  void TearDown() override { RegisterStudyAreaRebuilder("SetupStudyArea.DrawOwn", nullptr); }

  // The property sheet as the host runs it; false when nothing was stored.
  bool RunPropertySheet(const std::string& name) {
    auto sheet = CreateAs<ITovTask>(kPropertySheetTaskProgId);
    Variant value(analysis->dataManager->GetStudyAreaCatalog()->Item(name));
    sheet->SetParam("StudyArea", value);
    if (!sheet->Init(analysis->dataManager, analysis->application) || sheet->DoParamSelector() != 0) return false;
    return sheet->InitFunction() && sheet->StartFunction() && sheet->LastError() == 0;
  }
  static std::string SheetTurn() {
    return R"({"form": "StudyAreaPropertiesDialog", "actions": [{"click": "RebuildButton"}]})";
  }
};

TEST_F(DrawAgainTest, ThePageShowsTheStoredAreaAndTheNewShapeReplacesItInPlace) {
  UseDrawingScript(DrawTurn("SelectFeature", kSquare) + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  const std::string layerFile = DescribeStudyArea(*analysis, "Harbour").layerFile;
  const auto written = std::filesystem::last_write_time(layerFile);
  const EnvelopePtr before = analysis->extension->CurrentStudyAreaGeometry()->Envelope();

  auto presenter = UseDrawingScript(SheetTurn() + "," + DrawTurn("SelectByCircle", R"({"circle": [-74, 40.8, 0.2]})"));
  ASSERT_TRUE(RunPropertySheet("Harbour"));
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_EQ(presenter->seen.size(), 1u);
  EXPECT_TRUE(presenter->seen[0].nextEnabled);
  ExpectSameEnvelope(presenter->seen[0].area, before, 1e-6);

  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 1);
  EXPECT_EQ(std::filesystem::last_write_time(layerFile), written);
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  EXPECT_NEAR(InDegrees(stored)->Area(), M_PI * 0.04, M_PI * 0.04 * 0.01);
}

} // namespace
} // namespace tov::test
