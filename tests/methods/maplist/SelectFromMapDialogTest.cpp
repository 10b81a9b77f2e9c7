// The map page of regions picked on a map: selecting by click and drag,
// the names it hands over, and the names it opens with.
#include "WorldTest.h"

#include "host/gui/RegisterHostGuiClasses.h"
#include "methods/maplist/SelectFromMapDialog.h"

namespace tov::test {
namespace {

using Names = std::vector<std::string>;

class SelectFromMapDialogTest : public WorldTest {
protected:
  void SetUp() override {
    RegisterHostGuiClasses(false);
    TestWorldOptions options;
    options.extraLayers = R"({ "name": "Outline", "sourceName": "regions", "mapLayerName": "Outline" })";
    options.extraMethods = MethodJson(kMapListMethod, "Picked", "{}", R"([
        { "name": "Regions", "properties": { "Visible": "True" } },
        { "name": "Outline", "properties": { "Visible": "True" } } ])");
    world = std::make_unique<TestWorld>(options);
    // A third region whose name holds a quote, east of the other two.
    AddRegion(*world, "O'Brien", -73.0, 40.0, -72.0, 41.5);
    OpenAnalysis();
    propertySet = NewPropertySet();
    NewPage();
  }
  void NewPage() {
    page = WorldTest::NewPage<SelectFromMapDialog>(kMapListMethod);
    page->m_sMainLayerName = "regions"; // any case
    page->m_sListFieldName = "NAME";
  }
  // Opens the page as the task does and plays the actions.
  void Run(const std::string& actions) {
    page->ReadFromPropertySet(propertySet);
    page->InitializeDialog();
    page->ResetParams();
    presenter = UseScript(R"([{"form": "SelectFromMapDialog", "actions": [)" + actions + R"(]}])");
    page->ShowModal();
    EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
    page->WriteToPropertySet(propertySet);
  }
  Names Chosen() {
    Names names;
    for (const Variant& v : *propertySet->GetProperty("SelectedItems").ToObjectAs<Collection>())
      names.push_back(v.ToString());
    return names;
  }
  bool NextEnabled() { return page->Ctl("NextButton")->Enabled(); }

  TaskPropertySetPtr propertySet;
  std::shared_ptr<SelectFromMapDialog> page;
};

TEST_F(SelectFromMapDialogTest, AClickReplacesShiftDragAddsAndEmptySpaceClearsOnlyOnTheMainLayer) {
  Run(R"({"mapdown": "MapControl", "map": [-74.5, 40.5]}, {"close": true})");
  EXPECT_EQ(Chosen(), Names{"West"});
  EXPECT_TRUE(NextEnabled());
  // The outline layer shows the same shapes but cannot be selected.
  EXPECT_EQ(page->PageMap()->SelectionCount(), 1);

  Run(R"({"mapdown": "MapControl", "map": [-73.5, 40.5], "shift": 1, "track": {"rectangle": [-73.6, 40.4, -72.5, 40.6]}},
         {"close": true})");
  EXPECT_EQ(Chosen(), (Names{"West", "East", "O'Brien"}));

  Run(R"({"mapdown": "MapControl", "map": [-73.5, 40.5], "track": {"rectangle": [-73.6, 40.4, -73.4, 40.6]}},
         {"close": true})");
  EXPECT_EQ(Chosen(), Names{"East"}) << "a plain drag replaces the selection";

  Run(R"({"mapdown": "MapControl", "map": [-80, 45]}, {"close": true})");
  EXPECT_TRUE(Chosen().empty());
  EXPECT_FALSE(NextEnabled());
}

TEST_F(SelectFromMapDialogTest, AFlatDragTogglesWhatItCrosses) {
  Run(R"({"mapdown": "MapControl", "map": [-74.5, 40.5]},
         {"mapdown": "MapControl", "map": [-74.5, 40.5], "track": {"rectangle": [-74.5, 40.5, -73.5, 40.5]}},
         {"close": true})");
  EXPECT_EQ(Chosen(), Names{"East"});
}

TEST_F(SelectFromMapDialogTest, NamesChosenOnTheListOpenSelectedQuotesIncludedAndGoBackWithTheLabels) {
  auto names = std::make_shared<Collection>();
  for (const char* name : {"O'Brien", "West", "Nowhere"}) names->Add(Variant(name));
  propertySet->SetProperty("SelectedItems", Variant(names));
  Run(R"({"toolbar": "Toolbar1", "button": "ShowLabels"}, {"click": "NextButton"})");
  EXPECT_EQ(page->m_Result, 1);
  EXPECT_EQ(Chosen(), (Names{"West", "O'Brien"})) << "in the layer's order";
  EXPECT_TRUE(propertySet->GetProperty("Labels").ToBool());
}

TEST_F(SelectFromMapDialogTest, ShowListLeavesWithTheSwitchAndZoomToSelectionFramesTheSelection) {
  Run(R"({"mapdown": "MapControl", "map": [-74.5, 40.5]}, {"toolbar": "Toolbar1", "button": "ZoomSel"},
         {"click": "ToListButton"})");
  EXPECT_TRUE(page->m_ChangeViews);
  EXPECT_EQ(page->m_Result, -1);
  EnvelopePtr extent = page->Map()->Extent();
  EXPECT_NEAR(extent->XMin(), -75.05, 1e-9);
  EXPECT_NEAR(extent->XMax(), -73.95, 1e-9);

  Run(R"({"mapdown": "MapControl", "map": [-80, 45]}, {"toolbar": "Toolbar1", "button": "ZoomSel"}, {"close": true})");
  EXPECT_NEAR(page->Map()->Extent()->Width(), page->Map()->FullExtent()->Width(), 1e-9);
}

} // namespace
} // namespace tov::test
