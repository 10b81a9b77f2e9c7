// Switching between the list page and the map page: what was chosen on one
// is chosen on the other, and the page the user leaves with Next decides
// the study area.
#include "MapListTestSupport.h"

#include "host/gui/RegisterHostGuiClasses.h"
#include "methods/maplist/SelectFromMapDialog.h"
#include "platform/forms/UserActions.h"
#include "platform/gis/Map.h"

namespace tov::test {
namespace {

// A click on the middle of county i's square (map degrees).
PagePlayer::Play ClickCounty(size_t i, const char* then) {
  return [i, then](Form& form) {
    UserActions::MapMouseDown(form, "MapControl", 1, 0, 0, 0, -74.0 + 0.1 * static_cast<double>(i) + 0.05, 40.65);
    UserActions::Click(form, then);
  };
}

PagePlayer::Play Choose(const std::string& name, const char* then) {
  return [name, then](Form& form) {
    AddByName(form, name);
    UserActions::Click(form, then);
  };
}

PagePlayer::Play NameIt(const std::string& name) {
  return [name](Form& form) {
    UserActions::Type(form, "StudyAreaNameText", name);
    UserActions::Click(form, "NextButton");
  };
}

class MapListSwitchingTest : public MapListMethodTest {
protected:
  void SetUp() override {
    RegisterHostGuiClasses(false);
    MapListMethodTest::SetUp();
  }
};

TEST_F(MapListSwitchingTest, TheListsChoiceIsSelectedOnTheMapAndTheMapsSelectionIsStored) {
  long selectedOnArrival = -1;
  auto player = UsePlayer({Choose("Kings, NY", "ToMapButton"),
                           [&](Form& form) {
                             selectedOnArrival = static_cast<SelectFromMapDialog&>(form).PageMap()->SelectionCount();
                             ClickCounty(4, "NextButton")(form);
                           },
                           NameIt("On the map")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(player->shown,
            (std::vector<std::string>{"SelectFromListDialog", "SelectFromMapDialog", "SelectSANameDialog"}));
  EXPECT_EQ(selectedOnArrival, 1);
  // A click replaced Kings by Queens: the map's selection is what counts.
  EXPECT_EQ(RecordProperty("On the map", "FEATURESLIST"), "'36081'");
}

TEST_F(MapListSwitchingTest, TheMapsSelectionIsChosenOnTheListAndTheListDecides) {
  std::vector<std::string> chosenOnReturn;
  auto player = UsePlayer({[](Form& form) { UserActions::Click(form, "ToMapButton"); },
                           ClickCounty(0, "ToListButton"),
                           [&](Form& form) {
                             chosenOnReturn = Entries(form, "ToList");
                             Choose("Richmond, NY", "NextButton")(form);
                           },
                           NameIt("Ends")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(player->shown, (std::vector<std::string>{"SelectFromListDialog", "SelectFromMapDialog",
                                                     "SelectFromListDialog", "SelectSANameDialog"}));
  EXPECT_EQ(chosenOnReturn, (std::vector<std::string>{"Bronx, NY"}));
  EXPECT_EQ(RecordProperty("Ends", "FEATURESLIST"), "'36005','36085'");
}

} // namespace
} // namespace tov::test
