// A stored study area made again from its property sheet on its method's own
// pages (the rebuilders of the drawn area, ZIP code and map list methods):
// the page opens with what was stored, the new choice is stored in place,
// and cancelling changes nothing.
//
// The ZIP preview against the method itself: where codes need not be
// numeric, letter case, "_" and a trailing "%" must decide the preview's
// count exactly as they decide which areas the study area is made of.
#include "DrawnWorld.h"
#include "MapListWorld.h"
#include "ZipWorld.h"

#include "host/join/DrawnAreaRebuilder.h"
#include "host/join/MapListRebuilder.h"
#include "host/join/ZipCodesRebuilder.h"
#include "host/join/ZipPreview.h"
#include "methods/maplist/SelectFromMapDialog.h"
#include "pages/modi18N.h"

#include <cmath>
#include <sstream>

namespace tov::test {
namespace {

using Names = std::vector<std::string>;

// A method's test fixture with the method's rebuilder registered.
template <class MethodTest, const char* kMethod, void (*kRegister)()>
class Rebuilding : public MethodTest {
protected:
  void SetUp() override {
    MethodTest::SetUp();
    this->UseRebuilder(kMethod, kRegister);
  }
};

using DrawnRebuildTest = Rebuilding<DrawnMethodTest, kDrawnAreaMethod, RegisterDrawnAreaRebuilder>;

TEST_F(DrawnRebuildTest, ThePageShowsTheStoredAreaAndTheNewShapeReplacesItInPlace) {
  UseDrawingScript(DrawTurn("SelectFeature", R"({"rectangle": [-74.5, 40.5, -74, 41]})") + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  const auto written = LayerFileTime("Harbour");
  const EnvelopePtr before = CurrentShape()->Envelope();

  auto shown = UseDrawingScript(RebuildTurn() + "," + DrawTurn("SelectByCircle", R"({"circle": [-74, 40.8, 0.2]})"));
  ASSERT_TRUE(RunPropertySheet("Harbour"));
  EXPECT_TRUE(shown->Errors().empty()) << shown->Errors().front();
  ASSERT_EQ(shown->seen.size(), 1u);
  EXPECT_TRUE(shown->seen[0].nextEnabled);
  ExpectSameEnvelope(shown->seen[0].area, before, 1e-6);
  EXPECT_EQ(Catalog()->Count(), 1);
  EXPECT_EQ(LayerFileTime("Harbour"), written);
  ASSERT_TRUE(CurrentShape());
  EXPECT_NEAR(InDegrees(CurrentShape())->Area(), M_PI * 0.04, M_PI * 0.04 * 0.01);
}

using ZipCodesRebuildTest = Rebuilding<ZipMethodTest, kZipCodesMethod, RegisterZipCodesRebuilder>;

TEST_F(ZipCodesRebuildTest, CancellingChangesNothingAndTheStoredListIsShownCheckedAndStoredInPlace) {
  UseZipScript(ZipTurn("10001, 10002") + "," + NameTurn("Harbour"));
  ASSERT_TRUE(RunAll().Stored());
  const auto written = LayerFileTime("Harbour");
  const double both = ZipSquare("10001")->Area() + ZipSquare("10002")->Area();
  UseZipScript(RebuildTurn() + "," + ZipTurn("11201", "CancelButton"));
  RunPropertySheet("Harbour");
  EXPECT_EQ(RecordProperty("Harbour", "FEATURESLIST"), "'10001, 10002'");
  ASSERT_TRUE(CurrentShape());
  EXPECT_NEAR(CurrentShape()->Area(), both, both * 1e-6);

  UseZipScript(RebuildTurn() + "," + ZipTurn("1234") + "," + ZipTurn("10003; 11201"));
  ASSERT_TRUE(RunPropertySheet("Harbour"));
  // First the stored list, unquoted; after the refusal the refused text.
  EXPECT_EQ(page.texts, (Names{"10001, 10002", "1234"}));
  std::string tooShort = GetTextResources()->FindString("184");
  tooShort.replace(tooShort.find("%1"), 2, "five");
  ASSERT_EQ(presenter->Messages().size(), 1u);
  EXPECT_EQ(presenter->Messages()[0].Title, GetTextResources()->FindString("182"));
  EXPECT_EQ(presenter->Messages()[0].Text, tooShort);

  EXPECT_EQ(Catalog()->Count(), 1);
  EXPECT_EQ(LayerFileTime("Harbour"), written);
  EXPECT_EQ(RecordProperty("Harbour", "FEATURESLIST"), "'10003; 11201'");
  ASSERT_TRUE(CurrentShape());
  const double expected = ZipSquare("10003")->Area() + ZipSquare("11201")->Area();
  EXPECT_NEAR(CurrentShape()->Area(), expected, expected * 1e-6);
}

class MapListRebuildTest : public MapListMethodTest {
protected:
  void SetUp() override {
    RegisterHostMapControl();
    MapListMethodTest::SetUp();
    UseRebuilder(kMapListMethod, RegisterMapListRebuilder);
    UsePlayer({Adding({"Kings, NY", "Queens, NY"}), Naming("Pair")});
    ASSERT_TRUE(RunAll().Stored());
  }
};

TEST_F(MapListRebuildTest, TheStoredRegionsOpenChosenAndTheNewSetIsStoredInPlace) {
  const auto written = LayerFileTime("Pair");
  Names chosen, offered;
  UsePlayer({Pressing("RebuildButton"), [&](Form& form) {
               chosen = Entries(form, "ToList");
               offered = Entries(form, "FromList");
               UserActions::Select(form, "ToList", 0);
               UserActions::DblClick(form, "ToList");
               Adding({"Bronx, NY"})(form);
             }});
  ASSERT_TRUE(RunPropertySheet("Pair"));
  EXPECT_EQ(chosen, (Names{"Kings, NY", "Queens, NY"}));
  EXPECT_EQ(offered, (Names{"Bronx, NY", "New York, NY", "O'Brien, IA", "Richmond, NY"}));
  EXPECT_EQ(Catalog()->Count(), 1);
  EXPECT_EQ(LayerFileTime("Pair"), written);
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36005','36081'");
  const double expected = SquaresArea({0, 4}, true);
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);
}

TEST_F(MapListRebuildTest, BackReturnsToTheSheetAndTheChoiceTravelsToTheMapAndBack) {
  long selectedOnArrival = -1;
  Names chosenOnReturn;
  auto player = UsePlayer({Pressing("RebuildButton"), Pressing("BackButton"), Pressing("RebuildButton"),
                           Pressing("ToMapButton"),
                           [&](Form& form) {
                             selectedOnArrival = dynamic_cast<SelectFromMapDialog&>(form).PageMap()->SelectionCount();
                             ClickingCounty(0, "ToListButton")(form);
                           },
                           [&](Form& form) {
                             chosenOnReturn = Entries(form, "ToList");
                             Pressing("NextButton")(form);
                           }});
  ASSERT_TRUE(RunPropertySheet("Pair"));
  EXPECT_EQ(player->shown, (Names{"StudyAreaPropertiesDialog", "SelectFromListDialog", "StudyAreaPropertiesDialog",
                                  "SelectFromListDialog", "SelectFromMapDialog", "SelectFromListDialog"}));
  EXPECT_EQ(selectedOnArrival, 2);
  EXPECT_EQ(chosenOnReturn, (Names{"Bronx, NY"}));
  EXPECT_EQ(Catalog()->Count(), 1);
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36005'");
}

TEST_F(MapListRebuildTest, CancellingTheListPageChangesNothingAndTheMapPagesSelectionIsStoredWhenAccepted) {
  UsePlayer({Pressing("RebuildButton"), [](Form& form) {
               UserActions::Click(form, "RemoveAllButton");
               UserActions::Click(form, "CancelButton");
             }});
  RunPropertySheet("Pair");
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36047','36081'");
  UsePlayer({Pressing("RebuildButton"), Pressing("ToMapButton"), ClickingCounty(5, "NextButton")});
  ASSERT_TRUE(RunPropertySheet("Pair"));
  EXPECT_EQ(RecordProperty("Pair", "FEATURESLIST"), "'36085'");
  const double expected = CountySquare(5, true)->Area();
  EXPECT_NEAR(StoredArea(), expected, expected * 1e-4);
}

// The count the preview prints for its one code ("-1" when no line has it).
long PreviewedCount(const std::string& previewOutput, const std::string& code) {
  std::istringstream lines(previewOutput);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(code + "\t", 0) == 0) return std::stol(line.substr(code.size() + 1));
  return -1;
}

TEST_F(ZipMethodTest, ThePreviewCountsEachCodeAsTheStudyAreaTakesIt) {
  // One 0.1 degree square per code, in a row.
  const std::vector<std::string> codes = {"AB1", "AC1", "AD2", "xy9", "XZ9", "A_1"};
  UseSettings({{"NumericZips", "False"}, {"ValueLength", "3"}, {"NumericPrefixLeastLength", "1"}}, codes);
  const double square = ZipSquare("AB1", codes)->Area();

  int made = 0;
  long total = 0;
  for (const std::string typed : {"ab1", "A_1", "a__", "x%", "AD2", "xZ%", "Q%"}) {
    std::ostringstream out, err;
    ASSERT_TRUE(PreviewZipCodes(*analysis, typed, out, err)) << typed << ": " << err.str();
    const long previewed = PreviewedCount(out.str(), typed);

    auto presenter = UseZipScript(ZipTurn(typed) + "," + NameTurn("Area " + std::to_string(++made)));
    long taken = 0;
    if (RunAll().Stored()) {
      auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
      ASSERT_TRUE(stored) << typed;
      // The squares are of equal area in the equal-area analysis system.
      taken = std::lround(stored->Area() / square);
    } else {
      EXPECT_EQ(presenter->Messages().size(), 1u) << typed << ": only the empty area's refusal";
    }
    EXPECT_EQ(previewed, taken) << typed << "\n" << out.str();
    total += taken;
  }
  // More than exact matches would take ("A_1" alone takes three, whatever
  // the data source's letter case rule).
  EXPECT_GE(total, 5);
}

} // namespace
} // namespace tov::test
