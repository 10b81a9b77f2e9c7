// The property sheet gives a stored map list study area another set of
// regions on the method's own pages.
#include "MapListWorld.h"

#include "host/join/MapListRebuilder.h"
#include "host/join/MapListRegions.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "methods/maplist/SelectFromMapDialog.h"
#include "platform/gis/Map.h"

#include <filesystem>

namespace tov::test {
namespace {

using Names = std::vector<std::string>;

class MapListRebuildTest : public MapListMethodTest {
protected:
  void SetUp() override {
    RegisterHostGuiClasses(false);
    MapListMethodTest::SetUp();
    RegisterHostStudyAreaClasses();
    RegisterMapListRebuilder();
  }
  void TearDown() override { RegisterStudyAreaRebuilder(MapListRegions::kMethodName, nullptr); }

  void StorePair() {
    UsePlayer({[](Form& form) {
                 AddByName(form, "Kings, NY");
                 AddByName(form, "Queens, NY");
                 UserActions::Click(form, "NextButton");
               },
               [](Form& form) {
                 UserActions::SetText(form, "StudyAreaNameText", "Pair");
                 UserActions::Click(form, "NextButton");
               }});
    ASSERT_TRUE(RunAll().Stored());
  }
  static void Rebuild(Form& form) { UserActions::Click(form, "RebuildButton"); }
  static void Press(Form& form, const char* button) { UserActions::Click(form, button); }
  // A click on the middle of county i's square (map degrees) picks it alone.
  static void ClickCounty(Form& form, size_t i) {
    UserActions::MapMouseDown(form, "MapControl", 1, 0, 0, 0, -74.0 + 0.1 * static_cast<double>(i) + 0.05, 40.65);
  }
};

TEST_F(MapListRebuildTest, TheStoredRegionsOpenChosenAndTheNewSetIsStoredInPlace) {
  StorePair();
  const std::string layerFile = DescribeStudyArea(*analysis, "Pair").layerFile;
  const auto written = std::filesystem::last_write_time(layerFile);

  Names chosen, offered;
  UsePlayer({Rebuild, [&](Form& form) {
               chosen = Entries(form, "ToList");
               offered = Entries(form, "FromList");
               UserActions::Select(form, "ToList", 0);
               UserActions::DblClick(form, "ToList");
               AddByName(form, "Bronx, NY");
               UserActions::Click(form, "NextButton");
             }});
  ASSERT_TRUE(RunPropertySheet("Pair"));
  EXPECT_EQ(chosen, (Names{"Kings, NY", "Queens, NY"}));
  EXPECT_EQ(offered, (Names{"Bronx, NY", "New York, NY", "O'Brien, IA", "Richmond, NY"}));
  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 1);
  EXPECT_EQ(std::filesystem::last_write_time(layerFile), written);
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36005','36081'");
  const double expected = CountySquare(0, true)->Area() + CountySquare(4, true)->Area();
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);
}

TEST_F(MapListRebuildTest, CancellingTheListPageChangesNothing) {
  StorePair();
  UsePlayer({Rebuild, [](Form& form) {
               UserActions::Click(form, "RemoveAllButton");
               UserActions::Click(form, "CancelButton");
             }});
  RunPropertySheet("Pair");
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36047','36081'");
}

TEST_F(MapListRebuildTest, BackReturnsToTheSheetAndTheChoiceTravelsToTheMapAndBack) {
  StorePair();
  long selectedOnArrival = -1;
  Names chosenOnReturn;
  auto player = UsePlayer({Rebuild, [](Form& form) { Press(form, "BackButton"); }, Rebuild,
                           [](Form& form) { Press(form, "ToMapButton"); },
                           [&](Form& form) {
                             auto* map = dynamic_cast<SelectFromMapDialog*>(&form);
                             if (!map) return;
                             selectedOnArrival = map->PageMap()->SelectionCount();
                             ClickCounty(form, 0);
                             Press(form, "ToListButton");
                           },
                           [&](Form& form) {
                             chosenOnReturn = Entries(form, "ToList");
                             Press(form, "NextButton");
                           }});
  ASSERT_TRUE(RunPropertySheet("Pair"));
  EXPECT_EQ(player->shown, (Names{"StudyAreaPropertiesDialog", "SelectFromListDialog", "StudyAreaPropertiesDialog",
                                  "SelectFromListDialog", "SelectFromMapDialog", "SelectFromListDialog"}));
  EXPECT_EQ(selectedOnArrival, 2);
  EXPECT_EQ(chosenOnReturn, (Names{"Bronx, NY"}));
  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 1);
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36005'");
}

TEST_F(MapListRebuildTest, TheMapPagesSelectionIsStoredWhenItIsAccepted) {
  StorePair();
  UsePlayer({Rebuild, [](Form& form) { Press(form, "ToMapButton"); },
             [](Form& form) {
               ClickCounty(form, 5);
               Press(form, "NextButton");
             }});
  ASSERT_TRUE(RunPropertySheet("Pair"));
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36085'");
  const double expected = CountySquare(5, true)->Area();
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);
}

} // namespace
} // namespace tov::test
