// The site and ring size pages on their own: which inputs let the user go
// on, the address way, the unit, and what a stored state shows.
#include "RingWorld.h"
#include "WorldTest.h"

#include "methods/ring/SelectRingSizeDialog.h"
#include "methods/ring/SiteDialog.h"

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

} // namespace
} // namespace tov::test
