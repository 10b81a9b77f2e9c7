// The list page as a user works it: the search, the moves between the two
// lists and what they keep, the buttons that follow, and the names kept in
// the property set between visits.
#include "MapListWorld.h"

#include "methods/maplist/SelectFromListDialog.h"

namespace tov::test {
namespace {

using Names = std::vector<std::string>;

const Names kAll = {"Bronx, NY", "Kings, NY", "New York, NY", "O'Brien, IA", "Queens, NY", "Richmond, NY"};

class SelectFromListDialogTest : public ::testing::Test {
protected:
  // A page holding the regions, read from the property set, shown once
  // with play acting on it.
  std::shared_ptr<SelectFromListDialog> Show(const PagePlayer::Play& play,
                                             const TaskPropertySetPtr& propertySet = nullptr) {
    auto page = std::make_shared<SelectFromListDialog>();
    for (const std::string& name : kAll) page->m_pRegionsColl->Add(name, name);
    page->ReadFromPropertySet(propertySet);
    page->InitializeDialog();
    page->ResetParams();
    UsePlayer({play});
    page->ShowModal();
    page->WriteToPropertySet(propertySet);
    return page;
  }
  static bool Enabled(Form& form, const char* control) { return form.Ctl(control)->Enabled(); }
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
  Names york, comma, blank;
  Show([&](Form& form) {
    UserActions::Type(form, "SearchTextBox", "  yORK ");
    york = Entries(form, "FromList");
    Search(form, "k, n");
    comma = Entries(form, "FromList");
    Search(form, "   ");
    blank = Entries(form, "FromList");
  });
  EXPECT_EQ(york, Names{"New York, NY"});
  EXPECT_EQ(comma, (Names{"New York, NY"}));
  EXPECT_EQ(blank, kAll);
}

TEST_F(SelectFromListDialogTest, NamesMovedBackGoToTheEndAndShowOnlyWhenTheyMatch) {
  Names whileSearching, afterClearing, afterRemoveAll, chosen;
  Show([&](Form& form) {
    AddByName(form, "Kings, NY");
    AddByName(form, "Bronx, NY");
    Search(form, "queens");
    // One back by a double click, one by Remove: neither contains the text.
    DoubleClick(form, "ToList", "Kings, NY");
    UserActions::Select(form, "ToList", 0);
    UserActions::Click(form, "RemoveButton");
    whileSearching = Entries(form, "FromList");
    ClearSearch(form);
    afterClearing = Entries(form, "FromList");
    // Remove all rebuilds the list in the order the regions are kept in.
    AddByName(form, "Richmond, NY");
    AddByName(form, "New York, NY");
    ClearSearch(form);
    UserActions::Click(form, "RemoveAllButton");
    afterRemoveAll = Entries(form, "FromList");
    chosen = Entries(form, "ToList");
  });
  EXPECT_EQ(whileSearching, Names{"Queens, NY"});
  EXPECT_EQ(afterClearing,
            (Names{"New York, NY", "O'Brien, IA", "Queens, NY", "Richmond, NY", "Kings, NY", "Bronx, NY"}));
  EXPECT_EQ(afterRemoveAll,
            (Names{"O'Brien, IA", "Queens, NY", "Kings, NY", "Bronx, NY", "Richmond, NY", "New York, NY"}));
  EXPECT_TRUE(chosen.empty());
}

TEST_F(SelectFromListDialogTest, AddAllMovesOnlyTheShownNamesAndNextFollowsToList) {
  bool nextAtFirst = true, nextAfterAdd = false, nextAfterRemoveAll = true;
  Names offered, chosen;
  Show([&](Form& form) {
    nextAtFirst = Enabled(form, "NextButton");
    Search(form, ", ny");
    UserActions::Click(form, "AddAllButton");
    nextAfterAdd = Enabled(form, "NextButton");
    chosen = Entries(form, "ToList");
    ClearSearch(form);
    offered = Entries(form, "FromList");
    UserActions::Click(form, "RemoveAllButton");
    nextAfterRemoveAll = Enabled(form, "NextButton");
  });
  EXPECT_FALSE(nextAtFirst);
  EXPECT_TRUE(nextAfterAdd);
  EXPECT_FALSE(nextAfterRemoveAll);
  EXPECT_EQ(chosen, (Names{"Bronx, NY", "Kings, NY", "New York, NY", "Queens, NY", "Richmond, NY"}));
  EXPECT_EQ(offered, Names{"O'Brien, IA"});
}

TEST_F(SelectFromListDialogTest, SeveralSelectedMoveInOrderAndASelectionLivesInOneListAtATime) {
  Names chosen, offered, offeredAfterBack;
  bool addBefore = false, addAfterToListClick = true, removeAfterToListClick = false, fromStillSelected = true;
  Show([&](Form& form) {
    UserActions::Select(form, "FromList", 3);
    UserActions::Select(form, "FromList", 1);
    addBefore = Enabled(form, "AddButton");
    UserActions::Click(form, "AddButton");
    chosen = Entries(form, "ToList");
    offered = Entries(form, "FromList");
    UserActions::Select(form, "FromList", 0);
    UserActions::Select(form, "ToList", 1);
    addAfterToListClick = Enabled(form, "AddButton");
    removeAfterToListClick = Enabled(form, "RemoveButton");
    fromStillSelected = form.CtlAs<ListControl>("FromList")->Selected(0);
    DoubleClick(form, "ToList", "Kings, NY");
    offeredAfterBack = Entries(form, "FromList");
  });
  EXPECT_TRUE(addBefore);
  EXPECT_EQ(chosen, (Names{"Kings, NY", "O'Brien, IA"}));
  EXPECT_EQ(offered, (Names{"Bronx, NY", "New York, NY", "Queens, NY", "Richmond, NY"}));
  EXPECT_FALSE(addAfterToListClick);
  EXPECT_TRUE(removeAfterToListClick);
  EXPECT_FALSE(fromStillSelected);
  EXPECT_EQ(offeredAfterBack, (Names{"Bronx, NY", "New York, NY", "Queens, NY", "Richmond, NY", "Kings, NY"}));
}

TEST_F(SelectFromListDialogTest, SavedNamesOpenChosenAndAVanishedOneIsDropped) {
  auto state = CreateAs<TaskPropertySet>("TovKernel.TaskPropertySet");
  auto saved = std::make_shared<Collection>();
  for (const char* name : {"Queens, NY", "Atlantis, XX", "kings, ny"}) saved->Add(name);
  state->SetProperty("SelectedItems", Variant(saved));
  state->SetProperty("FilterString", "n");
  Names chosen, offered;
  std::string search;
  auto page = Show(
      [&](Form& form) {
        chosen = Entries(form, "ToList");
        offered = Entries(form, "FromList");
        search = form.Ctl("SearchTextBox")->Text();
        DoubleClick(form, "ToList", "Queens, NY");
        UserActions::Click(form, "CancelButton");
      },
      state);
  EXPECT_EQ(chosen, (Names{"Queens, NY", "kings, ny"}));
  EXPECT_EQ(offered, (Names{"Bronx, NY", "New York, NY", "O'Brien, IA", "Richmond, NY"}));
  EXPECT_EQ(search, "n");
  // What the page keeps for the next visit, whichever button closed it.
  auto written = state->GetProperty("SelectedItems").ToObjectAs<Collection>();
  ASSERT_TRUE(written);
  ASSERT_EQ(written->Count(), 1);
  EXPECT_EQ(written->Item(1).ToString(), "kings, ny");
  EXPECT_EQ(page->m_Result, -1);
  EXPECT_FALSE(page->m_bChangeViews);
}

} // namespace
} // namespace tov::test
