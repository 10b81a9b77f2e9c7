// The ring task's page sequence: site page, geocoder, ring size page and
// name page, Back on each, and what a later run shows.
#include "RingWorld.h"
#include "WorldTest.h"
#include "Recorders.h"

#include "methods/ring/TovSSASimpleRingTask.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

constexpr char kSite[] = "SpecifySiteDialog";
constexpr char kRing[] = "SelectRingSizeDialog";
constexpr char kName[] = "SelectSANameDialog";

class SimpleRingTaskTest : public WorldTest {
protected:
  SimpleRingTaskTest() : WorldTest(RingWorldOptions()) {}
  void SetUp() override { OpenAnalysis(); }

  // One run of the page sequence of a new task, or of the last one.
  int32_t Run(const std::string& turns, bool sameTask = false) {
    presenter = UseRingScript(turns);
    if (!sameTask) task = NewRingTask(*analysis, set);
    const int32_t result = task->DoParamSelector();
    presenter->CheckFinished();
    for (const std::string& error : presenter->Errors()) ADD_FAILURE() << error;
    return result;
  }
  TovSSASimpleRingTask& Ring() { return dynamic_cast<TovSSASimpleRingTask&>(*task); }
  static PointPtr Found() {
    PointPtr site = MakePoint(-73.95, 40.78);
    site->SetSpatialReference(Geographic(4326));
    return site;
  }

  TaskPropertySetPtr set = NewPropertySet();
  std::shared_ptr<RingPresenter> presenter;
  std::shared_ptr<ITovTask> task;
  GeocoderScope geocoder;
};

TEST_F(SimpleRingTaskTest, TypedCoordinatesGiveAnAuthalicSite) {
  EXPECT_EQ(Run(SiteTurn("40.5", "-73.25") + "," + RingTurn("2.5", true) + "," + NameTurn("Ring")), 0);
  EXPECT_EQ(Ring().SitePoint()->SpatialReference()->FactoryCode(), 4035);
  EXPECT_DOUBLE_EQ(Ring().SitePoint()->X(), -73.25);
  EXPECT_DOUBLE_EQ(Ring().SitePoint()->Y(), 40.5);
  EXPECT_DOUBLE_EQ(Ring().Radius(), 2.5);
  EXPECT_FALSE(Ring().UnitsMiles());
}

TEST_F(SimpleRingTaskTest, AnInvalidAddressStillGivesTheSiteAndTheGeocoderIsKept) {
  PointPtr site = Found();
  geocoder.answers = {{1, "Invalid", site}};
  EXPECT_EQ(Run(AddressTurn() + "," + RingTurn("3") + "," + NameTurn("Found")), 0);
  EXPECT_EQ(Ring().SitePoint(), site);
  EXPECT_EQ(presenter->forms, (std::vector<std::string>{kSite, kRing, kName}));
  EXPECT_EQ(geocoder.keys, (std::vector<std::string>{"DatasetName", "PropertySet", "AllowSitesOutOfSA",
                                                     "DialogMainLabelCaption", "ResultCollection"}));
  EXPECT_EQ(geocoder.values["DatasetName"], Variant("Test"));
  EXPECT_EQ(geocoder.values["PropertySet"].ToObject(), set);
  EXPECT_EQ(geocoder.values["AllowSitesOutOfSA"], Variant(true));
  EXPECT_EQ(geocoder.values["DialogMainLabelCaption"], Variant(GetTextResources()->FindString("188")));

  geocoder.answers = {{1, "Succeeded", Found()}};
  EXPECT_EQ(Run(AddressTurn() + "," + RingTurn("3") + "," + NameTurn("Again"), true), 0);
  EXPECT_EQ(geocoder.created, 1);
  EXPECT_EQ(geocoder.inits, 2);
}

TEST_F(SimpleRingTaskTest, AFailedAddressIsSaidAndTheGeocoderShownAgain) {
  geocoder.answers = {{1, "Failed", nullptr}, {1, "Succeeded", Found()}};
  EXPECT_EQ(Run(AddressTurn() + "," + RingTurn("3") + "," + NameTurn("Second try")), 0);
  EXPECT_EQ(geocoder.shows, 2);
  ASSERT_EQ(presenter->Messages().size(), 1u);
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(presenter->Messages()[0].Text, texts->FindString("186"));
  EXPECT_EQ(presenter->Messages()[0].Title, texts->FindString("126"));
  EXPECT_EQ(presenter->Messages()[0].Icon, "exclamation");
}

TEST_F(SimpleRingTaskTest, AGeocoderThatCannotWorkIsNotShownAndTheSitePageComesBack) {
  geocoder.initResult = false;
  geocoder.answers = {{1, "Succeeded", Found()}};
  EXPECT_EQ(Run(AddressTurn() + "," + ClickTurn(kSite, "CancelButton")), -1);
  EXPECT_EQ(geocoder.shows, 0);
  EXPECT_EQ(presenter->forms, (std::vector<std::string>{kSite, kSite}));
}

TEST_F(SimpleRingTaskTest, BackShowsThePageBeforeWithWhatItHeld) {
  geocoder.answers = {{1, "Succeeded", Found()}, {2, "", nullptr}};
  EXPECT_EQ(Run(SiteTurn("40.5", "-73.25") + "," + RingTurn("3") + "," + ClickTurn(kName, "BackButton") + "," +
                ClickTurn(kRing, "BackButton") + "," + AddressTurn() + "," + ClickTurn(kRing, "BackButton") + "," +
                ClickTurn(kSite, "BackButton")),
            2);
  // The geocoder's two showings sit between the second site page and the
  // third ring size page, and after that.
  EXPECT_EQ(presenter->forms, (std::vector<std::string>{kSite, kRing, kName, kRing, kSite, kRing, kSite}));
  EXPECT_EQ(presenter->of[kRing][1].texts["FirstText"], "3");
  auto& sites = presenter->of[kSite];
  EXPECT_EQ(sites[1].texts["txtLatitude"], "40.5");
  EXPECT_EQ(sites[1].texts["txtLongitude"], "-73.25");
  EXPECT_EQ(sites[1].values["obtCoord"], 1);
  EXPECT_EQ(sites[2].values["obtSelect"], 1);
  EXPECT_FALSE(sites[2].enabled["txtLatitude"]);
}

TEST_F(SimpleRingTaskTest, ALaterRunShowsWhatTheLastOneStored) {
  Run(SiteTurn("40.5", "-73.25") + "," + RingTurn("2.5", true) + "," + ClickTurn(kName, "CancelButton"));
  Run(SiteTurn("40.5", "-73.25") + "," + ClickTurn(kRing, "CancelButton"));
  EXPECT_EQ(presenter->of[kSite][0].texts["txtLatitude"], "40.5");
  EXPECT_EQ(presenter->of[kSite][0].texts["txtLongitude"], "-73.25");
  EXPECT_EQ(presenter->of[kRing][0].texts["FirstText"], "2.5");
  EXPECT_EQ(presenter->of[kRing][0].values["KilometersOption"], 1);

  // After the address way the boxes show 0.
  geocoder.answers = {{1, "Succeeded", Found()}};
  Run(AddressTurn() + "," + ClickTurn(kRing, "CancelButton"));
  Run(ClickTurn(kSite, "CancelButton"));
  EXPECT_EQ(presenter->of[kSite][0].texts["txtLatitude"], "0");
  EXPECT_EQ(presenter->of[kSite][0].texts["txtLongitude"], "0");
}

TEST_F(SimpleRingTaskTest, AHostWithoutAGeocoderIsReportedNotCrashed) {
  ReportRecorder recorder;
  UnregisterClass("TovGeocoder.TovSinglePointGeocoder");
  Run(AddressTurn());
  ASSERT_EQ(recorder.Locations(),
            std::vector<std::string>{"ShowAddressDialog TovSetupStudyArea\\TovSSASimpleRingTask"});
  EXPECT_EQ(recorder.Reports()[0].number, 429);
}

} // namespace
} // namespace tov::test
