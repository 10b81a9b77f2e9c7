// The map list method's two pages as a user works them. The list page: the
// search, the moves between the two lists and what they keep, the buttons
// that follow, and the names kept between visits. The map page: selecting by
// click and drag, the names it hands over, and the names it opens with.
#include "MapListWorld.h"

#include "host/gis/HostMapControl.h"
#include "methods/maplist/SelectFromListDialog.h"
#include "methods/maplist/SelectFromMapDialog.h"

namespace tov::test {
namespace {

using Names = std::vector<std::string>;

const Names kAll = {"Bronx, NY", "Kings, NY", "New York, NY", "O'Brien, IA", "Queens, NY", "Richmond, NY"};

class SelectFromListDialogTest : public ::testing::Test {
protected:
  // A page holding the regions, read from the property set, shown once
  // with play acting on it (and checking what it sees).
  std::shared_ptr<SelectFromListDialog> Show(const PagePlayer::Play& play,
                                             const TaskPropertySetPtr& propertySet = nullptr) {
    auto page = std::make_shared<SelectFromListDialog>();
    for (const std::string& name : kAll) page->m_pRegionsColl->Add(name, name);
    page->ReadFromPropertySet(propertySet);
    page->InitializeDialog();
    page->ResetParams();
    auto player = UsePlayer({play});
    page->ShowModal();
    EXPECT_EQ(player->shown.size(), 1u);
    page->WriteToPropertySet(propertySet);
    return page;
  }
  static bool Enabled(Form& form, const char* control) { return form.Ctl(control)->Enabled(); }
  static Names Offered(Form& form) { return Entries(form, "FromList"); }
  static Names Chosen(Form& form) { return Entries(form, "ToList"); }
  static void ClearSearch(Form& form) {
    UserActions::Type(form, "SearchTextBox", std::string(form.Ctl("SearchTextBox")->Text().size(), '\b'));
  }
  static void DoubleClick(Form& form, const char* list, const std::string& name) {
    const Names entries = Entries(form, list);
    const long index = static_cast<long>(std::find(entries.begin(), entries.end(), name) - entries.begin());
    UserActions::Select(form, list, index);
    UserActions::DblClick(form, list);
  }
};

TEST_F(SelectFromListDialogTest, TheSearchIgnoresCaseAndSurroundingBlanksAndMatchesAnywhere) {
  Show([&](Form& form) {
    UserActions::Type(form, "SearchTextBox", "  yORK ");
    EXPECT_EQ(Offered(form), Names{"New York, NY"});
    Search(form, "k, n");
    EXPECT_EQ(Offered(form), Names{"New York, NY"});
    Search(form, "   ");
    EXPECT_EQ(Offered(form), kAll);
  });
}

TEST_F(SelectFromListDialogTest, NamesMovedBackGoToTheEndAndShowOnlyWhenTheyMatch) {
  Show([&](Form& form) {
    AddByName(form, "Kings, NY");
    AddByName(form, "Bronx, NY");
    Search(form, "queens");
    // One back by a double click, one by Remove: neither contains the text.
    DoubleClick(form, "ToList", "Kings, NY");
    UserActions::Select(form, "ToList", 0);
    UserActions::Click(form, "RemoveButton");
    EXPECT_EQ(Offered(form), Names{"Queens, NY"});
    ClearSearch(form);
    EXPECT_EQ(Offered(form),
              (Names{"New York, NY", "O'Brien, IA", "Queens, NY", "Richmond, NY", "Kings, NY", "Bronx, NY"}));
    // Remove all rebuilds the list in the order the regions are kept in.
    AddByName(form, "Richmond, NY");
    AddByName(form, "New York, NY");
    ClearSearch(form);
    UserActions::Click(form, "RemoveAllButton");
    EXPECT_EQ(Offered(form),
              (Names{"O'Brien, IA", "Queens, NY", "Kings, NY", "Bronx, NY", "Richmond, NY", "New York, NY"}));
    EXPECT_TRUE(Chosen(form).empty());
  });
}

TEST_F(SelectFromListDialogTest, AddAllMovesOnlyTheShownNamesAndNextFollowsToList) {
  Show([&](Form& form) {
    EXPECT_FALSE(Enabled(form, "NextButton"));
    Search(form, ", ny");
    UserActions::Click(form, "AddAllButton");
    EXPECT_TRUE(Enabled(form, "NextButton"));
    EXPECT_EQ(Chosen(form), (Names{"Bronx, NY", "Kings, NY", "New York, NY", "Queens, NY", "Richmond, NY"}));
    ClearSearch(form);
    EXPECT_EQ(Offered(form), Names{"O'Brien, IA"});
    UserActions::Click(form, "RemoveAllButton");
    EXPECT_FALSE(Enabled(form, "NextButton"));
  });
}

TEST_F(SelectFromListDialogTest, SeveralSelectedMoveInOrderAndASelectionLivesInOneListAtATime) {
  Show([&](Form& form) {
    UserActions::Select(form, "FromList", 3);
    UserActions::Select(form, "FromList", 1);
    EXPECT_TRUE(Enabled(form, "AddButton"));
    UserActions::Click(form, "AddButton");
    EXPECT_EQ(Chosen(form), (Names{"Kings, NY", "O'Brien, IA"}));
    EXPECT_EQ(Offered(form), (Names{"Bronx, NY", "New York, NY", "Queens, NY", "Richmond, NY"}));
    UserActions::Select(form, "FromList", 0);
    UserActions::Select(form, "ToList", 1);
    EXPECT_FALSE(Enabled(form, "AddButton"));
    EXPECT_TRUE(Enabled(form, "RemoveButton"));
    EXPECT_FALSE(form.CtlAs<ListControl>("FromList")->Selected(0));
    DoubleClick(form, "ToList", "Kings, NY");
    EXPECT_EQ(Offered(form), (Names{"Bronx, NY", "New York, NY", "Queens, NY", "Richmond, NY", "Kings, NY"}));
  });
}

TEST_F(SelectFromListDialogTest, SavedNamesOpenChosenAndAVanishedOneIsDropped) {
  auto state = CreateAs<TaskPropertySet>("TovKernel.TaskPropertySet");
  state->SetProperty("SelectedItems", Variant(CollectionOf({"Queens, NY", "Atlantis, XX", "kings, ny"})));
  state->SetProperty("FilterString", "n");
  auto page = Show(
      [&](Form& form) {
        EXPECT_EQ(Chosen(form), (Names{"Queens, NY", "kings, ny"}));
        EXPECT_EQ(Offered(form), (Names{"Bronx, NY", "New York, NY", "O'Brien, IA", "Richmond, NY"}));
        EXPECT_EQ(form.Ctl("SearchTextBox")->Text(), "n");
        DoubleClick(form, "ToList", "Queens, NY");
        UserActions::Click(form, "CancelButton");
      },
      state);
  // What the page keeps for the next visit, whichever button closed it.
  EXPECT_EQ(TextsOf(state->GetProperty("SelectedItems").ToObjectAs<Collection>()), Names{"kings, ny"});
  EXPECT_EQ(page->m_Result, -1);
  EXPECT_FALSE(page->m_bChangeViews);
}

class SelectFromMapDialogTest : public WorldTest {
protected:
  void SetUp() override {
    RegisterHostMapControl();
    world = std::make_unique<TestWorld>(MapPageOptions(R"([
        { "name": "Regions", "properties": { "Visible": "True" } },
        { "name": "Outline", "properties": { "Visible": "True" } } ])"));
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
  Names Chosen() { return TextsOf(propertySet->GetProperty("SelectedItems").ToObjectAs<Collection>()); }
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
  propertySet->SetProperty("SelectedItems", Variant(CollectionOf({"O'Brien", "West", "Nowhere"})));
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
