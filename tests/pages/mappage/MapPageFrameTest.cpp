// The frame both map pages share: the task's layers and their labels, the
// navigation tools, and a layout that follows the window.
#include "WorldTest.h"

#include "host/gis/HostMapControl.h"
#include "pages/mappage/MapPageFrame.h"

#include <gmock/gmock.h>

namespace tov::test {
namespace {

// A page on the frame that notes what its own tools were asked to do.
class NotingMapPage : public MapPageFrame {
public:
  NotingMapPage()
      : MapPageFrame("NotingMapPage", 800,
                     {"MapControl", "Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", "ToListButton",
                      "Toolbar1"},
                     false) {
    Add(ControlKind::CommandButton, "ToListButton");
  }
  using MapPageFrame::Map;

  std::vector<std::string> calls;

protected:
  void Form_Load() override {
    MapPageFrame::Form_Load();
    LoadTaskLayers();
  }
  void SelectFeature(int shift, double mapX, double mapY) override {
    calls.push_back("select " + std::to_string(shift) + " " + std::to_string(static_cast<int>(mapX)) + " " +
                    std::to_string(static_cast<int>(mapY)));
  }
  void ZoomToSelection() override { calls.push_back("zoom to selection"); }
  void ToolChosen(const std::string& key) override { calls.push_back("tool " + key); }
};

class MapPageFrameTest : public WorldTest {
protected:
  void SetUp() override {
    RegisterHostMapControl();
    UseWorld(MapPageOptions(R"([
        { "name": "Regions", "properties": { "Visible": "True", "Annotation": "True", "LabelField": "NAME",
            "MinimunScaleForLabeling": "5000000", "MaximumScaleForLabeling": "", "SymbolSize": "8" } },
        { "name": "Outline", "properties": { "Visible": "True", "Annotation": "true", "LabelField": "NAME" } } ])"));
    page = NewPage<NotingMapPage>(kMapListMethod);
  }
  void Show(const std::string& actions) { ShowPage(*page, actions); }
  FeatureLayerPtr MapLayer(long index) { return std::dynamic_pointer_cast<FeatureLayer>(page->Map()->Layer(index)); }

  std::shared_ptr<NotingMapPage> page;
};

TEST_F(MapPageFrameTest, TheFirstLayerEndsAtTheBottomAndOnlyAnExactTrueIsLabelledWhileTheButtonIsPressed) {
  Show(R"({"toolbar": "Toolbar1", "button": "ShowLabels"})");
  ASSERT_EQ(page->Map()->LayerCount(), 2);
  EXPECT_EQ(std::tuple(MapLayer(0)->Name(), MapLayer(1)->Name()), std::tuple("Outline", "Regions"));
  FeatureLayerPtr regions = MapLayer(1);
  EXPECT_TRUE(regions->DisplayAnnotation());
  LabelClassPtr labels = regions->AnnotationProperties()->Item(0);
  EXPECT_EQ(std::tuple(labels->Expression(), labels->MinimumScale(), labels->TextSymbol()->Size()),
            std::tuple("[NAME]", 5000000.0, 8.0));
  EXPECT_FALSE(MapLayer(0)->DisplayAnnotation()) << "\"true\" is not \"True\"";

  Show(R"({"toolbar": "Toolbar1", "button": "ShowLabels"})");
  EXPECT_FALSE(regions->DisplayAnnotation());
}

TEST_F(MapPageFrameTest, ZoomOutPutsTheExtentWhereTheRectangleWasAndAFlatRectangleChangesNothing) {
  page->Ctl("MapControl"); // loads the page
  auto extent = CreateAs<Envelope>("orvaCore.Envelope");
  extent->PutCoords(-75, 40, -73, 42);
  extent->SetSpatialReference(page->Map()->SpatialReference());
  page->Map()->SetExtent(extent);
  const EnvelopePtr before = page->Map()->Extent();

  Show(R"({"toolbar": "Toolbar1", "button": "ZoomOut"},
          {"mapdown": "MapControl", "map": [-74, 41], "track": {"rectangle": [-74.5, 40.5, -74, 41]}})");
  // C is 2 x 2, R 0.5 x 0.5: E is 8 x 8, R's offset in C scaled by 4 the other way.
  EnvelopePtr after = page->Map()->Extent();
  const double w = before->Width(), h = before->Height();
  EXPECT_NEAR(after->Width(), w * w / 0.5, 1e-9);
  EXPECT_NEAR(after->Height(), h * h / 0.5, 1e-9);
  EXPECT_NEAR(after->XMin(), before->XMin() - (-74.5 - before->XMin()) * w / 0.5, 1e-9);
  EXPECT_NEAR(after->YMin(), before->YMin() - (40.5 - before->YMin()) * h / 0.5, 1e-9);

  Show(R"({"mapdown": "MapControl", "map": [-74, 41], "track": {"rectangle": [-74, 40.5, -74, 41]}})");
  EXPECT_NEAR(page->Map()->Extent()->XMin(), after->XMin(), 1e-9);
  EXPECT_NEAR(page->Map()->Extent()->Width(), after->Width(), 1e-9);
}

TEST_F(MapPageFrameTest, TheMouseGoesToThePressedToolAndTheToolButtonsToThePage) {
  Show(R"({"mapdown": "MapControl", "map": [-74, 41], "shift": 1},
          {"toolbar": "Toolbar1", "button": "ZoomSel"},
          {"toolbar": "Toolbar1", "button": "SelectFeature"},
          {"toolbar": "Toolbar1", "button": "Pan"},
          {"mapdown": "MapControl", "map": [-73, 40]})");
  EXPECT_EQ(page->calls,
            (std::vector<std::string>{"select 1 -74 41", "zoom to selection", "tool SelectFeature"}));
}

TEST_F(MapPageFrameTest, AWindowMadeTooSmallSpringsBackAndTheControlsFollowItsSize) {
  Show(R"({"resize": [3000, 2000]})");
  EXPECT_EQ(std::tuple(page->Width(), page->Height()), std::tuple(MapPageFrame::kMinWidth, MapPageFrame::kMinHeight));

  Show(R"({"resize": [9000, 7000]})");
  const ControlPtr next = page->Ctl("NextButton");
  const float top = 7000 - next->Height() - 570;
  const float button = page->Ctl("CancelButton")->Width();
  const ControlPtr map = page->Ctl("MapControl");
  // Next's top and left, Cancel's and To list's left, the map's place and size, the frame's top.
  EXPECT_THAT((std::vector<float>{next->Top(), next->Left(), page->Ctl("CancelButton")->Left(),
                                  page->Ctl("ToListButton")->Left(), map->Left(), map->Top(), map->Width(),
                                  map->Height(), page->Ctl("Frame1")->Top()}),
              ::testing::Pointwise(::testing::FloatEq(), std::vector<float>{top, 9000 - 2 * button - 450,
                                                                             9000 - button - 300, 1425, 180, 420,
                                                                             9000 - 480, top - 780, top - 180}));
}

} // namespace
} // namespace tov::test
