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
  auto saved = std::make_shared<Collection>();
  for (const char* name : {"Queens, NY", "Atlantis, XX", "kings, ny"}) saved->Add(name);
  state->SetProperty("SelectedItems", Variant(saved));
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
  auto written = state->GetProperty("SelectedItems").ToObjectAs<Collection>();
  ASSERT_TRUE(written);
  ASSERT_EQ(written->Count(), 1);
  EXPECT_EQ(written->Item(1).ToString(), "kings, ny");
  EXPECT_EQ(page->m_Result, -1);
  EXPECT_FALSE(page->m_bChangeViews);
}

} // namespace
} // namespace tov::test
