// The site and ring size pages: on their own, which inputs let the user go
// on, the address way, the unit and what a stored state shows; in the task's
// sequence with the geocoder and the name page, Back on each, and what a
// later run shows.
#include "Recorders.h"
#include "RingWorld.h"
#include "WorldTest.h"

#include "methods/ring/SelectRingSizeDialog.h"
#include "methods/ring/SiteDialog.h"
#include "methods/ring/TovSSASimpleRingTask.h"
#include "pages/modi18N.h"

#include <type_traits>

namespace tov::test {
namespace {

class RingPagesTest : public WorldTest {
protected:
  // A page as its task prepares it, from the stored state.
  template <class Page>
  std::shared_ptr<Page> Prepared(bool canGeocode = true) {
    auto page = std::make_shared<Page>();
    if constexpr (std::is_same_v<Page, SpecifySiteDialog>) page->m_bCanGeocode = canGeocode;
    page->ReadFromPropertySet(set);
    page->InitializeDialog();
    page->ResetParams();
    return page;
  }
  static bool Next(const std::shared_ptr<WizardPage>& page) { return page->Ctl("NextButton")->Enabled(); }
  static void Type(const std::shared_ptr<WizardPage>& page, const char* latitude, const char* longitude) {
    page->Ctl("txtLatitude")->SetText(latitude);
    page->Ctl("txtLongitude")->SetText(longitude);
  }

  TaskPropertySetPtr set = NewPropertySet();
};

TEST_F(RingPagesTest, OnlyRadiiStrictlyBetweenZeroAndFortyThousandGoOn) {
  auto page = Prepared<SelectRingSizeDialog>();
  EXPECT_FALSE(Next(page)); // empty
  for (const char* refused : {"0", "40000", "-5", "abc"}) {
    page->Ctl("FirstText")->SetText("1");
    page->Ctl("FirstText")->SetText(refused);
    EXPECT_FALSE(Next(page)) << refused;
  }
  for (const char* accepted : {"0.5", "39999.9"}) {
    page->Ctl("FirstText")->SetText(accepted);
    EXPECT_TRUE(Next(page)) << accepted;
  }
}

TEST_F(RingPagesTest, ALetterAfterAValidRadiusStopsNextAndKeepsTheRadius) {
  UseScript(R"([{"form": "SelectRingSizeDialog", "actions": [
      {"type": "FirstText", "text": "12.5"}, {"type": "FirstText", "text": "k"}, {"close": true}]}])");
  auto page = Prepared<SelectRingSizeDialog>();
  page->ShowModal();
  EXPECT_FALSE(Next(page));
  EXPECT_DOUBLE_EQ(page->m_dFirst, 12.5);
}

TEST_F(RingPagesTest, AFirstRunShowsMilesAndOnlyAStoredTrueKeepsThem) {
  auto first = Prepared<SelectRingSizeDialog>();
  EXPECT_TRUE(first->m_bMiles);
  EXPECT_EQ(first->Ctl("MilesOption")->Value(), 1);
  set->SetProperty("UnitMiles", "true");
  set->SetProperty("First", "7.25");
  auto stored = Prepared<SelectRingSizeDialog>();
  EXPECT_FALSE(stored->m_bMiles);
  EXPECT_EQ(stored->Ctl("KilometersOption")->Value(), 1);
  EXPECT_EQ(stored->Ctl("FirstText")->Text(), "7.25");
  EXPECT_TRUE(Next(stored));
}

TEST_F(RingPagesTest, TheCloseBoxCancelsEvenAfterAnEarlierNext) {
  // The ring size page keeps its result between showings.
  UseScript(R"([{"form": "SelectRingSizeDialog", "actions": [{"set": "FirstText", "text": "5"}, {"click": "NextButton"}]},
      {"form": "SelectRingSizeDialog", "actions": [{"close": true}]}])");
  auto page = Prepared<SelectRingSizeDialog>();
  page->ShowModal();
  EXPECT_EQ(page->m_Result, 1);
  page->ShowModal();
  EXPECT_EQ(page->m_Result, -1);
}

TEST_F(RingPagesTest, CoordinatesMustBeFinishedNumbersButNeedNoRange) {
  auto page = Prepared<SpecifySiteDialog>();
  EXPECT_FALSE(Next(page));
  for (auto [latitude, longitude] : {std::pair{"12.5", "100"}, {"95", "500"}, {"-33.9", "+151.2"}}) {
    Type(page, latitude, longitude);
    EXPECT_TRUE(Next(page)) << latitude << " " << longitude;
  }
  for (const char* unfinished : {"12.", "-", "1e", "12 ", ""}) {
    Type(page, unfinished, "100");
    EXPECT_FALSE(Next(page)) << unfinished;
    Type(page, "12.5", unfinished);
    EXPECT_FALSE(Next(page)) << unfinished;
  }
}

TEST_F(RingPagesTest, TheAddressWayGreysTheBoxesAndLetsTheUserGoOn) {
  auto page = Prepared<SpecifySiteDialog>();
  Type(page, "12.", "abc");
  page->Ctl("obtSelect")->SetValue(1);
  EXPECT_EQ(page->GetWay(), 2);
  EXPECT_TRUE(Next(page));
  for (const char* box : {"txtLatitude", "txtLongitude"}) {
    EXPECT_FALSE(page->Ctl(box)->Enabled()) << box;
    EXPECT_EQ(page->Ctl(box)->BackColor(), static_cast<long>(0x8000000B)) << box;
  }
  page->Ctl("obtCoord")->SetValue(1);
  EXPECT_TRUE(page->Ctl("txtLatitude")->Enabled());
  EXPECT_EQ(page->Ctl("txtLatitude")->BackColor(), static_cast<long>(0x80000005));
  EXPECT_FALSE(Next(page));
  EXPECT_FALSE(Prepared<SpecifySiteDialog>(false)->Ctl("obtSelect")->Enabled());
}

TEST_F(RingPagesTest, StoredCoordinatesAreReadForTheCoordinateWayOnly) {
  set->SetProperty("GeocodingWay", "1");
  set->SetProperty("Latitude", "40.7128");
  set->SetProperty("Longitude", "east"); // not a number: passed over
  auto typed = Prepared<SpecifySiteDialog>();
  EXPECT_EQ(typed->Ctl("txtLatitude")->Text(), "40.7128");
  EXPECT_EQ(typed->Ctl("txtLongitude")->Text(), "0");

  set->SetProperty("GeocodingWay", "2");
  auto found = Prepared<SpecifySiteDialog>();
  EXPECT_EQ(found->Ctl("txtLatitude")->Text(), "0");
  EXPECT_EQ(found->Ctl("obtSelect")->Value(), 1);
}

constexpr char kSite[] = "SpecifySiteDialog";
constexpr char kRing[] = "SelectRingSizeDialog";
constexpr char kName[] = "SelectSANameDialog";
// What the site page's two boxes showed.
using SiteTexts = std::map<std::string, std::string>;
SiteTexts Site(const char* latitude, const char* longitude) {
  return {{"txtLatitude", latitude}, {"txtLongitude", longitude}};
}

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
  static PointPtr Found() { return MakePoint(-73.95, 40.78, Geographic(4326)); }

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
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(ShownMessages(*presenter),
            std::vector<std::string>{MessageOf("exclamation", texts->FindString("126"), texts->FindString("186"))});
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
  EXPECT_EQ(sites[1].texts, Site("40.5", "-73.25"));
  EXPECT_EQ(sites[1].values["obtCoord"], 1);
  EXPECT_EQ(sites[2].values["obtSelect"], 1);
  EXPECT_FALSE(sites[2].enabled["txtLatitude"]);
}

TEST_F(SimpleRingTaskTest, ALaterRunShowsWhatTheLastOneStored) {
  Run(SiteTurn("40.5", "-73.25") + "," + RingTurn("2.5", true) + "," + ClickTurn(kName, "CancelButton"));
  Run(SiteTurn("40.5", "-73.25") + "," + ClickTurn(kRing, "CancelButton"));
  EXPECT_EQ(presenter->of[kSite][0].texts, Site("40.5", "-73.25"));
  EXPECT_EQ(presenter->of[kRing][0].texts["FirstText"], "2.5");
  EXPECT_EQ(presenter->of[kRing][0].values["KilometersOption"], 1);

  // After the address way the boxes show 0.
  geocoder.answers = {{1, "Succeeded", Found()}};
  Run(AddressTurn() + "," + ClickTurn(kRing, "CancelButton"));
  Run(ClickTurn(kSite, "CancelButton"));
  EXPECT_EQ(presenter->of[kSite][0].texts, Site("0", "0"));
}

TEST_F(SimpleRingTaskTest, AHostWithoutAGeocoderIsReportedNotCrashed) {
  ReportRecorder recorder;
  UnregisterClass("TovGeocoder.TovSinglePointGeocoder");
  Run(AddressTurn());
  ASSERT_EQ(recorder.Locations(), std::vector<std::string>{"ShowAddressDialog TovSetupStudyArea\\TovSSASimpleRingTask"});
  EXPECT_EQ(recorder.Reports()[0].number, 429);
}

} // namespace
} // namespace tov::test
