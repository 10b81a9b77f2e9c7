// The ring size page: which radii let the user go on, the unit, and what it
// keeps in the wizard state.
#include "RingTestSupport.h"

#include "methods/ring/SelectRingSizeDialog.h"

namespace tov::test {
namespace {

class SelectRingSizeDialogTest : public ::testing::Test {
protected:
  // A page as its task prepares it, from the set given.
  std::shared_ptr<SelectRingSizeDialog> Page(const TaskPropertySetPtr& set) {
    auto page = std::make_shared<SelectRingSizeDialog>();
    page->ReadFromPropertySet(set);
    page->InitializeDialog();
    return page;
  }
  static bool NextEnabled(const std::shared_ptr<SelectRingSizeDialog>& page) {
    return page->Ctl("NextButton")->Enabled();
  }

  TestWorld world;
  TaskPropertySetPtr set = NewPropertySet();
};

TEST_F(SelectRingSizeDialogTest, OnlyRadiiStrictlyBetweenZeroAndFortyThousandEnableNext) {
  auto page = Page(set);
  EXPECT_FALSE(NextEnabled(page)); // empty
  for (const char* refused : {"0", "40000", "-5", "40000.0001", "abc", "1e5", ""}) {
    page->Ctl("FirstText")->SetText("1");
    page->Ctl("FirstText")->SetText(refused);
    EXPECT_FALSE(NextEnabled(page)) << refused;
  }
  for (const char* accepted : {"0.5", "39999.9", " 12 ", "1e3"}) {
    page->Ctl("FirstText")->SetText(accepted);
    EXPECT_TRUE(NextEnabled(page)) << accepted;
  }
  // Kilometres have the same bound.
  page->Ctl("KilometersOption")->SetValue(1);
  page->Ctl("FirstText")->SetText("40000");
  EXPECT_FALSE(NextEnabled(page));
  page->Ctl("FirstText")->SetText("39999.9");
  EXPECT_TRUE(NextEnabled(page));
}

TEST_F(SelectRingSizeDialogTest, ALetterAfterAValidRadiusDisablesNextAndKeepsTheRadius) {
  auto presenter = UseScript(R"([{"form": "SelectRingSizeDialog", "actions": [
      {"type": "FirstText", "text": "12.5"}, {"type": "FirstText", "text": "k"}, {"click": "CancelButton"}]}])");
  auto page = Page(set);
  page->ShowModal();
  EXPECT_EQ(page->Ctl("FirstText")->Text(), "12.5k");
  EXPECT_FALSE(NextEnabled(page));
  EXPECT_DOUBLE_EQ(page->m_dFirst, 12.5);
  EXPECT_EQ(page->m_Result, -1);
  EXPECT_TRUE(presenter->Errors().empty());
}

TEST_F(SelectRingSizeDialogTest, AFirstRunShowsMilesAndAnEmptyRadius) {
  auto page = Page(set);
  EXPECT_TRUE(page->m_bMiles);
  EXPECT_EQ(page->Ctl("MilesOption")->Value(), 1);
  EXPECT_EQ(page->Ctl("KilometersOption")->Value(), 0);
  EXPECT_EQ(page->Ctl("FirstText")->Text(), "");
  EXPECT_EQ(page->m_Result, -1);
}

TEST_F(SelectRingSizeDialogTest, StoredValuesComeBackAndOnlyTrueInThatCaseMeansMiles) {
  set->SetProperty("UnitMiles", "False");
  set->SetProperty("First", "7.25");
  auto page = Page(set);
  EXPECT_FALSE(page->m_bMiles);
  EXPECT_EQ(page->Ctl("KilometersOption")->Value(), 1);
  EXPECT_EQ(page->Ctl("FirstText")->Text(), "7.25");
  EXPECT_TRUE(NextEnabled(page));

  set->SetProperty("UnitMiles", "true");
  EXPECT_FALSE(Page(set)->m_bMiles);
  set->SetProperty("UnitMiles", "True");
  EXPECT_TRUE(Page(set)->m_bMiles);
}

TEST_F(SelectRingSizeDialogTest, AStoredRadiusThatIsNoNumberIsPassedOver) {
  set->SetProperty("UnitMiles", "False");
  set->SetProperty("First", "12x");
  auto page = Page(set);
  EXPECT_FALSE(page->m_bMiles); // the unit is still read
  EXPECT_EQ(page->Ctl("FirstText")->Text(), "0");
  EXPECT_FALSE(NextEnabled(page));
}

TEST_F(SelectRingSizeDialogTest, WritesTheUnitAsTrueOrFalseAndTheRadiusAsTyped) {
  auto page = Page(set);
  page->Ctl("KilometersOption")->SetValue(1);
  page->Ctl("FirstText")->SetText("3.50");
  page->WriteToPropertySet(set);
  EXPECT_EQ(set->GetProperty("UnitMiles").ToString(), "False");
  EXPECT_EQ(set->GetProperty("First").ToString(), "3.50");
  page->Ctl("MilesOption")->SetValue(1);
  page->WriteToPropertySet(set);
  EXPECT_EQ(set->GetProperty("UnitMiles").ToString(), "True");
}

TEST_F(SelectRingSizeDialogTest, TheCloseBoxCancelsEvenAfterAnEarlierNext) {
  auto presenter = UseScript(R"([
      {"form": "SelectRingSizeDialog", "actions": [{"set": "FirstText", "text": "5"}, {"click": "NextButton"}]},
      {"form": "SelectRingSizeDialog", "actions": [{"close": true}]}])");
  auto page = Page(set);
  page->ShowModal();
  EXPECT_EQ(page->m_Result, 1);
  page->ResetParams();
  page->ShowModal();
  EXPECT_EQ(page->m_Result, -1);
}

} // namespace
} // namespace tov::test
