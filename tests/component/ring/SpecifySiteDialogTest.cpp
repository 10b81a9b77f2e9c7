// The site page: which coordinates let the user go on, the address way, and
// what it keeps in the wizard state.
#include "RingTestSupport.h"

#include "methods/ring/SpecifySiteDialog.h"

namespace tov::test {
namespace {

constexpr long kWindowBackground = static_cast<long>(0x80000005);
constexpr long kInactiveBorder = static_cast<long>(0x8000000B);

class SpecifySiteDialogTest : public ::testing::Test {
protected:
  std::shared_ptr<SpecifySiteDialog> Page(const TaskPropertySetPtr& propertySet, bool canGeocode = true) {
    auto page = std::make_shared<SpecifySiteDialog>();
    page->m_bCanGeocode = canGeocode;
    page->ReadFromPropertySet(propertySet);
    page->InitializeDialog();
    page->ResetParams();
    return page;
  }
  static void Type(const std::shared_ptr<SpecifySiteDialog>& page, const std::string& latitude,
                   const std::string& longitude) {
    page->Ctl("txtLatitude")->SetText(latitude);
    page->Ctl("txtLongitude")->SetText(longitude);
  }
  static bool NextEnabled(const std::shared_ptr<SpecifySiteDialog>& page) {
    return page->Ctl("NextButton")->Enabled();
  }

  TestWorld world;
  TaskPropertySetPtr set = NewPropertySet();
};

TEST_F(SpecifySiteDialogTest, NextWaitsForTwoFinishedNumbersWithoutARangeCheck) {
  auto page = Page(set);
  EXPECT_EQ(page->GetWay(), 1);
  EXPECT_FALSE(NextEnabled(page));
  Type(page, "12.5", "100");
  EXPECT_TRUE(NextEnabled(page));
  Type(page, "95", "500");
  EXPECT_TRUE(NextEnabled(page));
  Type(page, "-33.9", "+151.2");
  EXPECT_TRUE(NextEnabled(page));
  for (const char* unfinished : {"12.", "-", "1e", "12 ", "", "north", "1,5"}) {
    Type(page, unfinished, "100");
    EXPECT_FALSE(NextEnabled(page)) << unfinished;
    Type(page, "12.5", unfinished);
    EXPECT_FALSE(NextEnabled(page)) << unfinished;
  }
}

TEST_F(SpecifySiteDialogTest, NextTakesTheTypedCoordinates) {
  auto presenter = UseScript(R"([{"form": "SpecifySiteDialog", "actions": [
      {"type": "txtLatitude", "text": "95"}, {"type": "txtLongitude", "text": "-500.25"}, {"click": "NextButton"}]}])");
  auto page = Page(set);
  page->ShowModal();
  EXPECT_EQ(page->m_Result, 1);
  EXPECT_DOUBLE_EQ(page->GetLatitude(), 95.0);
  EXPECT_DOUBLE_EQ(page->GetLongitude(), -500.25);
  EXPECT_TRUE(presenter->Errors().empty());
}

TEST_F(SpecifySiteDialogTest, TheAddressWayGreysTheBoxesAndEnablesNext) {
  auto page = Page(set);
  Type(page, "12.", "abc");
  page->Ctl("obtSelect")->SetValue(1);
  EXPECT_EQ(page->GetWay(), 2);
  EXPECT_EQ(page->Ctl("obtCoord")->Value(), 0);
  for (const char* box : {"txtLatitude", "txtLongitude"}) {
    EXPECT_FALSE(page->Ctl(box)->Enabled()) << box;
    EXPECT_EQ(page->Ctl(box)->BackColor(), kInactiveBorder) << box;
  }
  EXPECT_TRUE(NextEnabled(page));

  page->Ctl("obtCoord")->SetValue(1);
  EXPECT_EQ(page->GetWay(), 1);
  for (const char* box : {"txtLatitude", "txtLongitude"}) {
    EXPECT_TRUE(page->Ctl(box)->Enabled()) << box;
    EXPECT_EQ(page->Ctl(box)->BackColor(), kWindowBackground) << box;
  }
  EXPECT_FALSE(NextEnabled(page));
}

TEST_F(SpecifySiteDialogTest, WithoutAGeocoderTheAddressWayCannotBeChosen) {
  EXPECT_FALSE(Page(set, false)->Ctl("obtSelect")->Enabled());
  EXPECT_TRUE(Page(set, true)->Ctl("obtSelect")->Enabled());
}

TEST_F(SpecifySiteDialogTest, StoredCoordinatesComeBackForTheCoordinateWay) {
  set->SetProperty("GeocodingWay", "1");
  set->SetProperty("Latitude", "40.7128");
  set->SetProperty("Longitude", "-74.006");
  auto page = Page(set);
  EXPECT_EQ(page->Ctl("txtLatitude")->Text(), "40.7128");
  EXPECT_EQ(page->Ctl("txtLongitude")->Text(), "-74.006");
  EXPECT_EQ(page->Ctl("obtCoord")->Value(), 1);
  EXPECT_TRUE(NextEnabled(page));
}

TEST_F(SpecifySiteDialogTest, AfterTheAddressWayTheBoxesShowZero) {
  set->SetProperty("GeocodingWay", "2");
  set->SetProperty("Latitude", "40.7128");
  set->SetProperty("Longitude", "-74.006");
  auto page = Page(set);
  EXPECT_EQ(page->Ctl("txtLatitude")->Text(), "0");
  EXPECT_EQ(page->Ctl("txtLongitude")->Text(), "0");
  EXPECT_EQ(page->GetWay(), 2);
  EXPECT_EQ(page->Ctl("obtSelect")->Value(), 1);
}

TEST_F(SpecifySiteDialogTest, StoredTextsThatAreNoNumbersArePassedOver) {
  set->SetProperty("GeocodingWay", "1");
  set->SetProperty("Latitude", "12.");
  set->SetProperty("Longitude", "east");
  auto page = Page(set);
  EXPECT_EQ(page->Ctl("txtLatitude")->Text(), "12");
  EXPECT_EQ(page->Ctl("txtLongitude")->Text(), "0");
}

TEST_F(SpecifySiteDialogTest, WritesTheWayAndBothTextsWhateverTheWay) {
  auto page = Page(set);
  Type(page, "12.", "x");
  page->Ctl("obtSelect")->SetValue(1);
  page->WriteToPropertySet(set);
  EXPECT_EQ(set->GetProperty("GeocodingWay").ToString(), "2");
  EXPECT_EQ(set->GetProperty("Latitude").ToString(), "12.");
  EXPECT_EQ(set->GetProperty("Longitude").ToString(), "x");
}

} // namespace
} // namespace tov::test
