// The selected shapes method run as the host runs it: the summary page, the
// name page, then the union of the selected polygon shapes gathered a few
// shapes per step and stored in the last one.
#include "SelShapesWorld.h"

namespace tov::test {
namespace {

constexpr double kTolerance = 1e-9;

class SelectedShapesMethodTest : public SelectedShapesRunTest {};

TEST_F(SelectedShapesMethodTest, FeaturesAreReadTenAStepThenTheGraphicsOneAStepThenStored) {
  SelectFirst(squares, 25);
  std::vector<size_t> copiedIn;
  for (int i = 0; i < 3; ++i)
    AddSelectedGraphic(std::make_shared<StepStampedPolygon>(Graphic(-73.9 + i * 0.3, 0.2), &steps, &copiedIn));

  const double features = 25 * kSquareArea;
  EXPECT_NEAR(StoredArea("Steps"), features + 3 * 0.04, kTolerance);
  EXPECT_TRUE(steps.started);
  // Steps 0 to 2 read 10, 10 and 5 features; step 3 opens the graphics;
  // steps 4 to 6 take one graphic each, whatever the method does with the
  // shapes between the steps; step 7 finds no more; step 8 stores, which
  // releases the union.
  EXPECT_EQ(steps.results, (std::vector<bool>{true, true, true, true, true, true, true, true, false}));
  EXPECT_EQ(copiedIn, (std::vector<size_t>{4, 5, 6}));
  const std::vector<double> areas = {10 * kSquareArea, 20 * kSquareArea, features,       features,
                                     features + 0.04,  features + 0.08,  features + 0.12, features + 0.12, 0.0};
  ASSERT_EQ(steps.areas.size(), areas.size());
  for (size_t i = 0; i < areas.size(); ++i) EXPECT_NEAR(steps.areas[i], areas[i], kTolerance) << "after step " << i;
}

TEST_F(SelectedShapesMethodTest, PointLineAndTextShapesArePassedOverAndGraphicsKeepTheirShape) {
  SelectFirst(squares, 2);
  SelectFirst(sites, 3);
  SelectFirst(roads, 1);
  AddSelectedGraphic(MakePoint(-73.9, 40.9, Geographic(4269)), CreateAs<TextSymbol>(kTextSymbolProgId));
  AddSelectedGraphic(Line(-74.0, -73.2, 40.6));
  // Midpoints on the sides: generalising drops them, which must not happen
  // to the graphic on the map.
  PolygonPtr square = MakePolygon(
      {{-73.5, 40.7}, {-73.5, 40.8}, {-73.5, 40.9}, {-73.4, 40.9}, {-73.3, 40.9}, {-73.3, 40.8}, {-73.3, 40.7}, {-73.4, 40.7}},
      Geographic(4269));
  square->Simplify();
  GraphicElementPtr polygonGraphic = AddSelectedGraphic(square);
  const long verticesBefore = As<Polygon>(polygonGraphic->Geometry())->PointCount();

  EXPECT_NEAR(StoredArea("Mixed"), 2 * kSquareArea + 0.04, kTolerance);
  // Six features in one step, opening the graphics, three graphics and
  // their end, the store.
  EXPECT_EQ(steps.results.size(), 7u);
  EXPECT_EQ(As<Polygon>(polygonGraphic->Geometry())->PointCount(), verticesBefore);
}

TEST_F(SelectedShapesMethodTest, AShapeThatCannotBeProjectedOrUnitedIsLeftOut) {
  SelectFirst(squares, 1);
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Graphic(-73.9, 0.2), FailingPolygon::Fails::Project));
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Graphic(-73.6, 0.2), FailingPolygon::Fails::Union));
  AddSelectedGraphic(Graphic(-73.3, 0.3));
  EXPECT_NEAR(StoredArea("Survivors"), kSquareArea + 0.09, kTolerance);
}

TEST_F(SelectedShapesMethodTest, NothingSelectedReachesTheStoreWithoutAShapeAndStoresNothing) {
  ReportRecorder reports;
  HostTaskRunResult result = Run(Turns("Empty"));
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(result.pageResult, 0);
  // The features step finds none, there is no graphic selection, the store fails.
  EXPECT_EQ(steps.results, (std::vector<bool>{true, true, false}));
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
    summaries = InstallScript<SummaryRecorder>(script);
    return RunWith(summaries, kCurSelShapesTaskProgId);
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
  AddSelectedGraphic(Graphic(-73.5, 0.2));
  const std::string summary =
      "The new study area will be created from:\r\n\r\n3 selected polygons from Squares\r\n1 selected graphic polygon";

  HostTaskRunResult result = Run(R"([
    {"form": "SummarySelShapesDialog", "actions": [{"type": "SummarySelShapes", "text": "x"}, {"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": "Three"}, {"click": "BackButton"}]},
    {"form": "SummarySelShapesDialog", "actions": [{"click": "NextButton"}]},
    {"form": "SelectSANameDialog", "actions": [{"click": "NextButton"}]}])");

  EXPECT_EQ(FormsShown(), (std::vector<std::string>{"SummarySelShapesDialog", "SelectSANameDialog",
                                                     "SummarySelShapesDialog", "SelectSANameDialog"}));
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Three");
  EXPECT_EQ(summaries->texts, (std::vector<std::string>{summary, summary}));

  // Its texts and layout come from the resource components.
  EXPECT_EQ(summaries->captions[0], CreateAs<ResourceFinder>(kTextResourcesProgId)->FindString("222"));
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
