// The map list method on the command line: regions picked and listed through
// the list page and the map page.
#include "MapListWorld.h"

namespace tov::test {
namespace {

class MapListCommandLineTest : public MapListMethodTest {
protected:
  std::string Stored(const std::string& name, const std::string& key) {
    analysis = world->Open();
    return Catalog()->Exists(name) ? RecordProperty(name, key) : "(none)";
  }
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

} // namespace
} // namespace tov::test
