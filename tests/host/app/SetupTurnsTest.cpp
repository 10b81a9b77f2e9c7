// The turns that `tovana setup METHOD` plays, built from its options without
// running anything; the runs themselves are the command-line tests'.
#include "host/app/SetupTurns.h"

#include <gtest/gtest.h>

namespace tov::test {
namespace {

using nlohmann::json;

// A turn's actions as compact JSON text (keys in name order).
std::string Actions(const json& turn) { return turn.at("actions").dump(); }

TEST(SetupTurnsTest, ARunPicksTheMethodWithItsChooserOptionThenPlaysItsPagesThenTypesTheNameAndAZipListAsTyped) {
  const json turns = MethodRunTurns("Regions by name", RegionChooserActions(false), SelectedShapesPageTurns(), "Bay");
  ASSERT_EQ(turns.size(), 3u);
  EXPECT_EQ(turns[0]["form"], "CreateSAMainDialog");
  EXPECT_EQ(Actions(turns[0]), R"([{"click":"CreateSAOption"},{"item":"Regions by name","select":"SATasksList"},)"
                               R"({"click":"FromMapOption"},{"click":"NextButton"}])");
  EXPECT_EQ(turns[1], Turn("SummarySelShapesDialog", {{{"click", "NextButton"}}}));
  EXPECT_EQ(turns[2]["form"], "SelectSANameDialog");
  EXPECT_EQ(Actions(turns[2]), R"([{"text":"Bay","type":"StudyAreaNameText"},{"click":"NextButton"}])");
  // Without chooser options the chooser only picks and goes on.
  EXPECT_EQ(MethodRunTurns("Whole", json::array(), json::array(), "W")[0]["actions"].size(), 3u);
  // The ZIP list is set as typed.
  const json zip = ZipCodesPageTurns("10001, 1120*;\r\n100%");
  ASSERT_EQ(zip.size(), 1u);
  EXPECT_EQ(zip[0]["form"], "SelectByZipCodesDialog");
  EXPECT_EQ(zip[0]["actions"][0]["text"], "10001, 1120*;\r\n100%");
}

TEST(SetupTurnsTest, ARingSiteIsTypedAsGivenOrFoundByTheGeocoderWithTheCandidateCountedFromOne) {
  json turns = RingPageTurns(RingSite{"", 1, "40.7128", "-74.0060"}, 2.5, "km");
  ASSERT_EQ(turns.size(), 2u);
  EXPECT_EQ(turns[0]["form"], "SpecifySiteDialog");
  EXPECT_EQ(Actions(turns[0]), R"([{"click":"obtCoord"},{"set":"txtLatitude","text":"40.7128"},)"
                               R"({"set":"txtLongitude","text":"-74.0060"},{"click":"NextButton"}])");
  EXPECT_EQ(turns[1]["form"], "SelectRingSizeDialog");
  EXPECT_EQ(Actions(turns[1]), R"([{"click":"KilometersOption"},{"set":"FirstText","text":"2.5"},{"click":"NextButton"}])");

  turns = RingPageTurns(RingSite{"Hoboken, NJ", 3, "", ""}, 0.1, "miles");
  ASSERT_EQ(turns.size(), 3u);
  EXPECT_EQ(Actions(turns[0]), R"([{"click":"obtSelect"},{"click":"NextButton"}])");
  EXPECT_EQ(turns[1]["form"], "GeocoderDialog");
  EXPECT_EQ(Actions(turns[1]), R"([{"set":"AddressText","text":"Hoboken, NJ"},{"click":"FindButton"},)"
                               R"({"index":2,"select":"CandidatesList"},{"click":"NextButton"}])");
  // The radius as a person writes it, not as a double prints.
  EXPECT_EQ(Actions(turns[2]), R"([{"click":"MilesOption"},{"set":"FirstText","text":"0.1"},{"click":"NextButton"}])");
}

TEST(SetupTurnsTest, OnTheListEachNameIsSearchedAndDoubleClickedThenTheSearchIsAddedWhole) {
  const json turn = RegionListTurn({"Kings, NY", "O'Brien, IA"}, ", ny", false);
  EXPECT_EQ(turn["form"], "SelectFromListDialog");
  EXPECT_EQ(Actions(turn), R"([{"set":"SearchTextBox","text":""},{"text":"Kings, NY","type":"SearchTextBox"},)"
                           R"({"dblclick":"FromList","item":"Kings, NY"},)"
                           R"({"set":"SearchTextBox","text":""},{"text":"O'Brien, IA","type":"SearchTextBox"},)"
                           R"({"dblclick":"FromList","item":"O'Brien, IA"},)"
                           R"({"set":"SearchTextBox","text":""},{"text":", ny","type":"SearchTextBox"},)"
                           R"({"click":"AddAllButton"},{"click":"NextButton"}])");
  // On to the map page instead of Next; no search, no Add All.
  EXPECT_EQ(Actions(RegionListTurn({"Bronx, NY"}, "", true)),
            R"([{"set":"SearchTextBox","text":""},{"text":"Bronx, NY","type":"SearchTextBox"},)"
            R"({"dblclick":"FromList","item":"Bronx, NY"},{"click":"ToMapButton"}])");
}

// A drag without --add replaces what is selected on the map page (the
// page's own tests show a plain drag does), with --add it holds shift.
TEST(SetupTurnsTest, OnTheMapClicksComeFirstAndADragHoldsShiftOnlyToAdd) {
  const json plain = RegionMapTurn({{1, 2}}, {{3, 4, 5, 6}}, false);
  EXPECT_EQ(plain["form"], "SelectFromMapDialog");
  EXPECT_EQ(Actions(plain), R"([{"map":[1.0,2.0],"mapdown":"MapControl"},)"
                            R"({"map":[3.0,4.0],"mapdown":"MapControl","shift":0,"track":{"rectangle":[3.0,4.0,5.0,6.0]}},)"
                            R"({"click":"NextButton"}])");
  const json adding = RegionMapTurn({}, {{3, 4, 5, 6}, {7, 8, 9, 10}}, true);
  ASSERT_EQ(adding["actions"].size(), 3u);
  EXPECT_EQ(adding["actions"][0]["shift"], 1);
  EXPECT_EQ(adding["actions"][1]["shift"], 1);
  EXPECT_EQ(adding["actions"][1]["track"]["rectangle"], json::array({7.0, 8.0, 9.0, 10.0}));
}

} // namespace
} // namespace tov::test
