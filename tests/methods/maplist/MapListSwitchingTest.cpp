// Switching between the list page and the map page: what was chosen on one
// is chosen on the other, and the page the user leaves with Next decides
// the study area.
#include "MapListWorld.h"

#include "host/gui/RegisterHostGuiClasses.h"
#include "methods/maplist/SelectFromMapDialog.h"

namespace tov::test {
namespace {

class MapListSwitchingTest : public MapListMethodTest {
protected:
  void SetUp() override {
    RegisterHostGuiClasses(false);
    MapListMethodTest::SetUp();
  }
};

TEST_F(MapListSwitchingTest, TheListsChoiceIsSelectedOnTheMapAndTheMapsSelectionIsStored) {
  long selectedOnArrival = -1;
  auto player = UsePlayer({Adding({"Kings, NY"}, "ToMapButton"),
                           [&](Form& form) {
                             selectedOnArrival = static_cast<SelectFromMapDialog&>(form).PageMap()->SelectionCount();
                             ClickingCounty(4, "NextButton")(form);
                           },
                           Naming("On the map")});
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
                           ClickingCounty(0, "ToListButton"),
                           [&](Form& form) {
                             chosenOnReturn = Entries(form, "ToList");
                             Adding({"Richmond, NY"}, "NextButton")(form);
                           },
                           Naming("Ends")});
  ASSERT_TRUE(RunAll().Stored());
  EXPECT_EQ(player->shown, (std::vector<std::string>{"SelectFromListDialog", "SelectFromMapDialog",
                                                     "SelectFromListDialog", "SelectSANameDialog"}));
  EXPECT_EQ(chosenOnReturn, (std::vector<std::string>{"Bronx, NY"}));
  EXPECT_EQ(RecordProperty("Ends", "FEATURESLIST"), "'36005','36085'");
}

} // namespace
} // namespace tov::test
