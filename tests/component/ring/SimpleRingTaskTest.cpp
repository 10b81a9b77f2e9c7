// The ring task's page sequence: site page, geocoder, ring size page and
// name page, Back on each, and what the task hands to its function.
#include "RingTestSupport.h"
#include "support/Recorders.h"

#include "host/session/HostTaskRun.h"
#include "methods/ring/TovSSASimpleRingTask.h"
#include "pages/modi18N.h"

#include <algorithm>

namespace tov::test {
namespace {

constexpr char kSite[] = "SpecifySiteDialog";
constexpr char kRing[] = "SelectRingSizeDialog";
constexpr char kName[] = "SelectSANameDialog";

class SimpleRingTaskTest : public ::testing::Test {
protected:
  void SetUp() override { analysis = world.Open(); }

  // One run of the page sequence of task (a new one when none is given).
  int32_t Run(const std::string& turns, std::shared_ptr<ITovTask> task = nullptr) {
    presenter = UseRingScript("[" + turns + "]");
    if (!task) task = NewRingTask(*analysis, set);
    lastTask = task;
    const int32_t result = task->DoParamSelector();
    presenter->CheckFinished();
    for (const std::string& error : presenter->Errors()) ADD_FAILURE() << error;
    return result;
  }
  TovSSASimpleRingTask& Ring() { return dynamic_cast<TovSSASimpleRingTask&>(*lastTask); }
  std::vector<std::string> Shown() const {
    std::vector<std::string> forms;
    for (const auto& shown : presenter->ShownForms()) forms.push_back(shown.Form);
    return forms;
  }

  TestWorld world{RingWorldOptions()};
  AnalysisPtr analysis;
  TaskPropertySetPtr set = NewPropertySet();
  std::shared_ptr<RingPresenter> presenter;
  std::shared_ptr<ITovTask> lastTask;
};

PointPtr GeocodedSite() {
  PointPtr site = MakePoint(-73.95, 40.78);
  site->SetSpatialReference(Geographic(4326));
  return site;
}

TEST_F(SimpleRingTaskTest, CoordinatesGiveAnAuthalicSiteAndTheFunctionGetsEverythingInOrder) {
  SpyFunctionScope spy("TovSSA.TovSSASimpleRingFunction");
  presenter = UseRingScript("[" + SiteTurn("40.5", "-73.25") + "," + RingTurn("2.5", true) + "," +
                            NameTurn("Ring") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, "TovSSA.TovSSASimpleRingTask");
  EXPECT_TRUE(presenter->Errors().empty());
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_TRUE(result.initFunction);
  EXPECT_EQ(spy.log.keys, (std::vector<std::string>{"Application", "DataManager", "StudyAreaName", "DataSet", "SSATask",
                                                    "UnitsMiles", "Radius", "Point"}));
  EXPECT_EQ(spy.log.initCalls, 1);

  Run(SiteTurn("40.5", "-73.25") + "," + RingTurn("2.5", true) + "," + NameTurn("Ring"));
  PointPtr site = Ring().SitePoint();
  EXPECT_EQ(site->SpatialReference()->FactoryCode(), 4035);
  EXPECT_DOUBLE_EQ(site->X(), -73.25);
  EXPECT_DOUBLE_EQ(site->Y(), 40.5);
  EXPECT_DOUBLE_EQ(Ring().Radius(), 2.5);
  EXPECT_FALSE(Ring().UnitsMiles());
  EXPECT_EQ(Ring().StudyAreaName(), "Ring");
}

TEST_F(SimpleRingTaskTest, TheGeocoderGetsItsParametersAndAnInvalidAddressStillGivesTheSite) {
  GeocoderScope geocoder;
  PointPtr site = GeocodedSite();
  geocoder.log.answers = {{1, "Invalid", site}};
  EXPECT_EQ(Run(AddressTurn() + "," + RingTurn("3") + "," + NameTurn("Found")), 0);
  EXPECT_EQ(Ring().SitePoint(), site);
  EXPECT_TRUE(Ring().UnitsMiles());
  EXPECT_EQ(geocoder.log.keys, (std::vector<std::string>{"DatasetName", "PropertySet", "AllowSitesOutOfSA",
                                                         "DialogMainLabelCaption", "ResultCollection"}));
  EXPECT_EQ(geocoder.log.values["DatasetName"].ToString(), "Test");
  EXPECT_EQ(geocoder.log.values["PropertySet"].ToObject(), set);
  EXPECT_EQ(geocoder.log.values["AllowSitesOutOfSA"], Variant(true));
  EXPECT_EQ(geocoder.log.values["DialogMainLabelCaption"].ToString(), GetTextResources()->FindString("188"));
  EXPECT_EQ(Shown(), (std::vector<std::string>{kSite, kRing, kName}));

  // The same task keeps its geocoder and sets it up again.
  geocoder.log.answers = {{1, "Succeeded", GeocodedSite()}};
  EXPECT_EQ(Run(AddressTurn() + "," + RingTurn("3") + "," + NameTurn("Found again"), lastTask), 0);
  EXPECT_EQ(geocoder.log.created, 1);
  EXPECT_EQ(geocoder.log.inits, 2);
}

TEST_F(SimpleRingTaskTest, AFailedAddressIsSaidAndTheGeocoderShownAgain) {
  GeocoderScope geocoder;
  geocoder.log.answers = {{1, "Failed", nullptr}, {1, "Succeeded", GeocodedSite()}};
  EXPECT_EQ(Run(AddressTurn() + "," + RingTurn("3") + "," + NameTurn("Second try")), 0);
  EXPECT_EQ(geocoder.log.shows, 2);
  ASSERT_EQ(presenter->Messages().size(), 1u);
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(presenter->Messages()[0].Text, texts->FindString("186"));
  EXPECT_EQ(presenter->Messages()[0].Title, texts->FindString("126"));
  EXPECT_EQ(presenter->Messages()[0].Icon, "exclamation");
  // A new, empty result collection for each showing.
  EXPECT_EQ(std::count(geocoder.log.keys.begin(), geocoder.log.keys.end(), "ResultCollection"), 2);
}

TEST_F(SimpleRingTaskTest, AGeocoderThatCannotWorkIsNotShownAndTheSitePageComesBack) {
  GeocoderScope geocoder;
  geocoder.log.initResult = false;
  geocoder.log.answers = {{1, "Succeeded", GeocodedSite()}};
  EXPECT_EQ(Run(AddressTurn() + "," + CancelTurn(kSite)), -1);
  EXPECT_EQ(geocoder.log.shows, 0);
  EXPECT_EQ(Shown(), (std::vector<std::string>{kSite, kSite}));
}

TEST_F(SimpleRingTaskTest, BackGoesToThePageBeforeWithWhatItHeld) {
  GeocoderScope geocoder;
  geocoder.log.answers = {{1, "Succeeded", GeocodedSite()}, {2, "", nullptr}};
  EXPECT_EQ(Run(SiteTurn("40.5", "-73.25") + "," + BackTurn(kRing) + "," + AddressTurn() + "," + BackTurn(kRing) + "," +
                BackTurn(kSite)),
            2);
  // site, ring (Back), site, geocoder, ring (Back), geocoder (Back), site (Back)
  EXPECT_EQ(Shown(), (std::vector<std::string>{kSite, kRing, kSite, kRing, kSite}));
  EXPECT_EQ(geocoder.log.shows, 2);
  auto sites = presenter->Of(kSite);
  ASSERT_EQ(sites.size(), 3u);
  EXPECT_EQ(sites[1].texts["txtLatitude"], "40.5");
  EXPECT_EQ(sites[1].texts["txtLongitude"], "-73.25");
  EXPECT_EQ(sites[1].values["obtCoord"], 1);
  EXPECT_EQ(sites[2].values["obtSelect"], 1);
  EXPECT_FALSE(sites[2].enabled["txtLatitude"]);
  EXPECT_EQ(set->GetProperty("GeocodingWay").ToString(), "2");
}

TEST_F(SimpleRingTaskTest, ALaterRunShowsWhatTheLastOneStored) {
  Run(SiteTurn("40.5", "-73.25") + "," + RingTurn("2.5", true) + "," + CancelTurn(kName));
  Run(CancelTurn(kSite));
  auto site = presenter->Of(kSite).at(0);
  EXPECT_EQ(site.texts["txtLatitude"], "40.5");
  EXPECT_EQ(site.texts["txtLongitude"], "-73.25");
  EXPECT_TRUE(site.enabled["NextButton"]);

  Run(SiteTurn("40.5", "-73.25") + "," + CancelTurn(kRing));
  auto ring = presenter->Of(kRing).at(0);
  EXPECT_EQ(ring.texts["FirstText"], "2.5");
  EXPECT_EQ(ring.values["KilometersOption"], 1);
  EXPECT_EQ(ring.values["MilesOption"], 0);
}

TEST_F(SimpleRingTaskTest, ALaterRunAfterTheAddressWayShowsZeroInBothBoxes) {
  GeocoderScope geocoder;
  geocoder.log.answers = {{1, "Succeeded", GeocodedSite()}};
  Run(SiteTurn("40.5", "-73.25") + "," + BackTurn(kRing) + "," + AddressTurn() + "," + CancelTurn(kRing));
  Run(CancelTurn(kSite));
  auto site = presenter->Of(kSite).at(0);
  EXPECT_EQ(site.texts["txtLatitude"], "0");
  EXPECT_EQ(site.texts["txtLongitude"], "0");
}

TEST_F(SimpleRingTaskTest, AGeocoderMissingFromTheHostIsReportedNotCrashed) {
  ReportRecorder recorder;
  const ObjectFactory hosts = RegisteredFactory("TovGeocoder.TovSinglePointGeocoder");
  UnregisterClass("TovGeocoder.TovSinglePointGeocoder");
  Run(AddressTurn());
  if (hosts) RegisterClass("TovGeocoder.TovSinglePointGeocoder", hosts);
  ASSERT_FALSE(recorder.Reports().empty());
  EXPECT_EQ(recorder.Reports()[0].location, "ShowAddressDialog TovSetupStudyArea\\TovSSASimpleRingTask");
  EXPECT_EQ(recorder.Reports()[0].number, 429);
}

} // namespace
} // namespace tov::test
