// The map list method where the host meets it: the command line picks and
// lists regions through the list page, and the property sheet gives a
// stored study area another set of regions on the same page.
#include "CommandLineFixture.h"
#include "MapListTestSupport.h"

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

class MapListCommandLineTest : public MapListMethodTest {
protected:
  int Tovana(const std::string& arguments) {
    return RunTovana(*world, "--analysis '" + world->AnalysisFolder() + "' --dataset Test " + arguments, output,
                     errors);
  }
  std::string Stored(const std::string& name, const std::string& key) {
    analysis = world->Open();
    StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
    return catalog->Exists(name) ? RecordProperty(name, key) : "(none)";
  }
  std::string output, errors;
};

TEST_F(MapListCommandLineTest, NamesAreAddedOnTheListPageInAnyLetterCaseAndWithASearch) {
  ASSERT_EQ(Tovana(R"(setup regions --region "o'brien, ia" --region "Kings, NY" --name Two)"), 0) << errors;
  EXPECT_EQ(Stored("Two", "FEATURESLIST"), "'36047','19141'");
  EXPECT_EQ(Stored("Two", "TYPE"), "SetupStudyArea.MapList");
  ASSERT_EQ(Tovana(R"(setup regions --search ", ny" --region "O'Brien, IA" --name All)"), 0) << errors;
  EXPECT_EQ(Stored("All", "FEATURESLIST"), "'36005','36047','36061','19141','36081','36085'");
}

TEST_F(MapListCommandLineTest, AnUnknownNameGetsTheClosestAndNothingIsMade) {
  EXPECT_EQ(Tovana(R"(setup regions --region "Kings, NY" --region "Qeens NY" --name X)"), 1);
  EXPECT_NE(errors.find(R"("Qeens NY" is not among the regions of the list; the closest are: "Queens, NY", )"),
            std::string::npos)
      << errors;
  // The known name is not complained of.
  EXPECT_EQ(errors.find("is not among"), errors.rfind("is not among")) << errors;
  EXPECT_EQ(Tovana(R"(setup regions --search "Atlantis" --name X)"), 1);
  EXPECT_NE(errors.find(R"(no region of the list contains "Atlantis")"), std::string::npos) << errors;
  EXPECT_EQ(Stored("X", "TYPE"), "(none)");
  EXPECT_EQ(Tovana("setup regions --name X"), 2);
}

TEST_F(MapListCommandLineTest, OnTheMapAClickPicksADragAddsToTheListsNamesAndBadPointsAreUsageErrors) {
  ASSERT_EQ(Tovana("setup regions --on-map --click=-73.85,40.65 --name Clicked"), 0) << errors;
  EXPECT_EQ(Stored("Clicked", "FEATURESLIST"), "'36047'");
  // The list's name goes to the map with the switch; the drag adds to it.
  ASSERT_EQ(Tovana(R"(setup regions --region "Bronx, NY" --on-map --drag=-73.75,40.62,-73.55,40.68 --add --name Four)"),
            0)
      << errors;
  EXPECT_EQ(Stored("Four", "FEATURESLIST"), "'36005','36061','19141','36081'");
  // Without --add the drag replaces them: SetupTurnsTest and the map page's tests.
  for (const char* bad : {"setup regions --click=-73.85,40.65 --name X", "setup regions --on-map --click=500,2 --name X",
                          "setup regions --on-map --drag=-73.8,40.6 --name X"})
    EXPECT_EQ(Tovana(bad), 2) << bad;
  EXPECT_EQ(Stored("X", "TYPE"), "(none)");
}

TEST_F(MapListCommandLineTest, RegionsListsWhatThePageOffers) {
  ASSERT_EQ(Tovana("regions --search ' YORK'"), 0) << errors;
  EXPECT_EQ(output, "New York, NY\n");
  ASSERT_EQ(Tovana("regions"), 0) << errors;
  EXPECT_EQ(output, "Bronx, NY\nKings, NY\nNew York, NY\nO'Brien, IA\nQueens, NY\nRichmond, NY\n");
  EXPECT_EQ(Tovana("regions --search zzz"), 1);
}

class MapListRebuildTest : public MapListMethodTest {
protected:
  void SetUp() override {
    RegisterHostGuiClasses(false);
    MapListMethodTest::SetUp();
    RegisterHostStudyAreaClasses();
    RegisterMapListRebuilder();
  }
  void TearDown() override { RegisterStudyAreaRebuilder(MapListRegions::kMethodName, nullptr); }

  // The property sheet as the host runs it; false when nothing was stored.
  bool RunPropertySheet(const std::string& name) {
    auto sheet = CreateAs<ITovTask>("TovSSAPropertySheet.TovSSAPSTask");
    Variant value(analysis->dataManager->GetStudyAreaCatalog()->Item(name));
    sheet->SetParam("StudyArea", value);
    if (!sheet->Init(analysis->dataManager, analysis->application) || sheet->DoParamSelector() != 0) return false;
    return sheet->InitFunction() && sheet->StartFunction() && sheet->LastError() == 0;
  }
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
