// The selected shapes method run as the host runs it: the summary page, the
// name page, then the union of the selected polygon shapes gathered a few
// shapes per step and stored in the last one.
#include "SelShapesWorld.h"
#include "Recorders.h"

namespace tov::test {
namespace {

constexpr double kTolerance = 1e-9;

class SelectedShapesMethodTest : public SelectedShapesRunTest {};

TEST_F(SelectedShapesMethodTest, FeaturesAreReadTenAStepThenTheGraphicsOneAStepThenStored) {
  SelectFirst(squares, 25);
  AddSelectedGraphic(Square(-73.5, 40.7, 0.2, Geographic(4269)));

  HostTaskRunResult result = Run(Turns("Twenty five"));
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Twenty five");

  // 10, 10 and 5 features; opening the graphics; the graphic; the end of the
  // graphics; the store, which releases the union.
  const std::vector<bool> more = {true, true, true, true, true, true, false};
  EXPECT_EQ(steps.results, more);
  const std::vector<double> areas = {10 * kSquareArea, 20 * kSquareArea, 25 * kSquareArea, 25 * kSquareArea,
                                     25 * kSquareArea + 0.04, 25 * kSquareArea + 0.04, 0.0};
  ASSERT_EQ(steps.areas.size(), areas.size());
  for (size_t i = 0; i < areas.size(); ++i) EXPECT_NEAR(steps.areas[i], areas[i], kTolerance) << "after step " << i;

  auto stored = As<Polygon>(StoredShape("Twenty five"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), 25 * kSquareArea + 0.04, kTolerance);
}

TEST_F(SelectedShapesMethodTest, PointLineAndTextShapesArePassedOverAndGraphicsKeepTheirShape) {
  SpatialReferencePtr sr = Geographic(4269);
  SelectFirst(squares, 2);
  SelectFirst(sites, 3);
  SelectFirst(roads, 1);
  PointPtr anchor = MakePoint(-73.9, 40.9);
  anchor->SetSpatialReference(sr);
  AddSelectedGraphic(anchor, CreateAs<TextSymbol>(kTextSymbolProgId));
  auto line = CreateAs<Polyline>(kPolylineProgId);
  line->AddPoint(MakePoint(-74.0, 40.6));
  line->AddPoint(MakePoint(-73.2, 40.6));
  line->SetSpatialReference(sr);
  AddSelectedGraphic(line);
  // Midpoints on the sides: generalising drops them, which must not happen
  // to the graphic on the map.
  PolygonPtr square = MakePolygon(
      {{-73.5, 40.7}, {-73.5, 40.8}, {-73.5, 40.9}, {-73.4, 40.9}, {-73.3, 40.9}, {-73.3, 40.8}, {-73.3, 40.7}, {-73.4, 40.7}},
      sr);
  square->Simplify();
  GraphicElementPtr polygonGraphic = AddSelectedGraphic(square);
  const long verticesBefore = As<Polygon>(polygonGraphic->Geometry())->PointCount();

  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Mixed"));
  ASSERT_TRUE(result.Stored());
  auto stored = As<Polygon>(StoredShape("Mixed"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), 2 * kSquareArea + 0.04, kTolerance);
  EXPECT_TRUE(reports.Reports().empty()) << reports.Reports().front().location;
  // Six features in one step, opening the graphics, three graphics and
  // their end, the store.
  EXPECT_EQ(steps.results.size(), 7u);
  EXPECT_EQ(As<Polygon>(polygonGraphic->Geometry())->PointCount(), verticesBefore);
}

TEST_F(SelectedShapesMethodTest, AShapeThatCannotBeProjectedOrUnitedIsLeftOut) {
  SpatialReferencePtr sr = Geographic(4269);
  SelectFirst(squares, 1);
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Square(-73.9, 40.7, 0.2, sr), FailingPolygon::Fails::Project));
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Square(-73.6, 40.7, 0.2, sr), FailingPolygon::Fails::Union));
  AddSelectedGraphic(Square(-73.3, 40.7, 0.3, sr));

  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Survivors"));
  ASSERT_TRUE(result.Stored());
  auto stored = As<Polygon>(StoredShape("Survivors"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), kSquareArea + 0.09, kTolerance);
  EXPECT_TRUE(reports.Reports().empty()) << reports.Reports().front().location;
}

TEST_F(SelectedShapesMethodTest, NothingSelectedReachesTheStoreWithoutAShapeAndStoresNothing) {
  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Empty"));
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(result.pageResult, 0);
  // The features step finds none, there is no graphic selection, the store fails.
  const std::vector<bool> more = {true, true, false};
  EXPECT_EQ(steps.results, more);
  // The store's first step fails on the missing shape: reported, and not the
  // empty-area message, which is for a shape that is there but empty.
  EXPECT_TRUE(presenter->Messages().empty());
  EXPECT_EQ(reports.Locations(), std::vector<std::string>{"CreateStudyArea TovSSA\\TovSSAUtils"});
  EXPECT_TRUE(reports.Reports().empty() || Has(reports.Reports()[0].description, "nStep = 0"));
}

// A scripted presenter that keeps what the summary page showed when each
// showing ended.
class SummaryRecorder : public ScriptedPresenter {
public:
  void ShowModal(Form& form) override {
    ScriptedPresenter::ShowModal(form);
    if (form.Name() != "SummarySelShapesDialog") return;
    ControlPtr box = form.Ctl("SummarySelShapes");
    texts.push_back(box->Text());
    captions.push_back(form.Caption());
    boxPlaces.push_back({box->Left(), box->Top(), box->Width()});
  }
  std::vector<std::string> texts, captions;
  std::vector<std::vector<float>> boxPlaces;
};

class SummaryPageTest : public SelShapesTest {
protected:
  HostTaskRunResult Run(const std::string& script) {
    summaries = std::make_shared<SummaryRecorder>();
    summaries->LoadScript(script);
    SetPresenter(summaries);
    HostTaskRunResult result = RunHostTask(*analysis, kCurSelShapesTaskProgId);
    summaries->CheckFinished();
    for (const std::string& error : summaries->Errors()) ADD_FAILURE() << error;
    return result;
  }
  std::vector<std::string> FormsShown() const {
    std::vector<std::string> names;
    for (const auto& shown : summaries->ShownForms()) names.push_back(shown.Form);
    return names;
  }

  std::shared_ptr<SummaryRecorder> summaries;
};

TEST_F(SummaryPageTest, BackOnTheNamePageShowsTheSummaryAgainWhichCannotBeEdited) {
  SelectFirst(squares, 3);
  AddSelectedGraphic(Square(-73.5, 40.7, 0.2, Geographic(4269)));
  const std::string summary =
      "The new study area will be created from:\r\n\r\n3 selected polygons from Squares\r\n1 selected graphic polygon";

  HostTaskRunResult result = Run(R"([
    {"form": "SummarySelShapesDialog", "actions": [{"type": "SummarySelShapes", "text": "x"}, {"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": "Three"}, {"click": "BackButton"}]},
    {"form": "SummarySelShapesDialog", "actions": [{"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"click": "NextButton"}]}])");

  const std::vector<std::string> forms = {"SummarySelShapesDialog", "SelectSANameDialog", "SummarySelShapesDialog",
                                          "SelectSANameDialog"};
  EXPECT_EQ(FormsShown(), forms);
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Three");
  ASSERT_EQ(summaries->texts.size(), 2u);
  EXPECT_EQ(summaries->texts[0], summary);
  EXPECT_EQ(summaries->texts[1], summary);

  // Its texts and layout come from the resource components.
  ResourceFinderPtr texts = CreateAs<ResourceFinder>(kTextResourcesProgId);
  EXPECT_EQ(summaries->captions[0], texts->FindString("222"));
  ResourceFinderPtr layout = CreateAs<ResourceFinder>(kGuiResourcesProgId);
  const std::vector<float> place = {std::stof(layout->FindString("1223")), std::stof(layout->FindString("1224")),
                                    std::stof(layout->FindString("1225"))};
  EXPECT_EQ(summaries->boxPlaces[0], place);
}

TEST_F(SummaryPageTest, BackOnTheSummaryReturnsToTheChooser) {
  SelectFirst(squares, 1);
  HostTaskRunResult result = Run(R"([{"form": "SummarySelShapesDialog", "actions": [{"click": "BackButton"}]}])");
  EXPECT_EQ(result.pageResult, 2);
  EXPECT_EQ(FormsShown(), std::vector<std::string>{"SummarySelShapesDialog"});
  EXPECT_FALSE(result.initFunction);
  EXPECT_FALSE(result.Stored());
}

} // namespace
} // namespace tov::test
