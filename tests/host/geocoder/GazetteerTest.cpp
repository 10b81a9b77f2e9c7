// Reading the gazetteer file, its two indexes and how names are folded.
#include "GeocoderTestSupport.h"

#include "host/geocoder/AddressMatcher.h"
#include "host/geocoder/PlaceNames.h"

namespace tov::test {
namespace {

class GazetteerTest : public ::testing::Test {
protected:
  std::string Write(const std::string& text) {
    const std::string file = folder.Path() + "/gazetteer-" + std::to_string(++count) + ".csv";
    WriteTextFile(file, text);
    return file;
  }
  // The message of the error that loading this text raises ("" when none).
  std::string LoadError(const std::string& text) {
    return ErrorOf([&] { Gazetteer::Load(Write(text)); }).description;
  }
  tov::testing::TempFolder folder;
  int count = 0;
};

TEST_F(GazetteerTest, ReadsZipCodesAndPlacesWithQuotedNames) {
  GazetteerPtr g = Gazetteer::Load(Write(SmallGazetteerText()));
  EXPECT_EQ(g->ZipCount(), 3u);
  EXPECT_EQ(g->PlaceCount(), 14u);
  const GazetteerEntry* zip = g->FindZip("10001");
  ASSERT_NE(zip, nullptr);
  EXPECT_DOUBLE_EQ(zip->latitude, 40.75065);
  EXPECT_DOUBLE_EQ(zip->longitude, -73.997293);
  EXPECT_EQ(zip->state, "NY");
  EXPECT_EQ(g->FindZip("99999"), nullptr);
  ASSERT_EQ(g->FindPlaces("Lexington-Fayette, Urban").size(), 1u);
  EXPECT_EQ(g->FindPlaces("lexington fayette urban")[0]->population, 295803u);
}

// What `datasets create` writes for a data set of its own: codes of any
// form, regions and places, saved and read back.
TEST_F(GazetteerTest, CodesAndRegionsOfAnyDataSetAreSavedAndFound) {
  using Kind = GazetteerEntry::Kind;
  const std::string file = folder.Path() + "/saved.csv";
  Gazetteer::Save(file, {{Kind::Code, "LS1", "", 53.797, -1.548, 0},
                         {Kind::Region, "Kings, NY", "", 40.64, -73.94, 0},
                         {Kind::Region, "Leeds", "", 53.8, -1.55, 0},
                         {Kind::Place, "Leeds", "ENG", 53.79648, -1.54785, 455123}});
  GazetteerPtr g = Gazetteer::Load(file);
  EXPECT_EQ(g->ZipCount(), 1u);
  EXPECT_EQ(g->RegionCount(), 2u);
  EXPECT_EQ(g->PlaceCount(), 1u);
  ASSERT_NE(g->FindZip("ls1"), nullptr);
  EXPECT_EQ(g->FindZip("ls1")->kind, Kind::Code);
  ASSERT_EQ(g->FindRegions("kings ny").size(), 1u);
  EXPECT_DOUBLE_EQ(g->FindRegions("Kings, NY")[0]->latitude, 40.64);
  AddressMatcher matcher(g);
  EXPECT_EQ(matcher.Match("LS1").candidates.at(0).label, "Code LS1");
  EXPECT_EQ(matcher.Match("Kings, NY").candidates.at(0).label, "Kings, NY (region)");
  // A place of the name goes before the region.
  const GeocodeMatch leeds = matcher.Match("Leeds");
  ASSERT_EQ(leeds.candidates.size(), 1u);
  EXPECT_EQ(leeds.candidates[0].label, "Leeds, ENG (pop. 455,123)");
  EXPECT_TRUE(Has(LoadError("kind,name,state,latitude,longitude,population\ncounty,X,,1,2,\n"), "unknown kind"));
}

TEST_F(GazetteerTest, PlacesComeMostPopulousFirstAndCanBeLimitedToAState) {
  GazetteerPtr g = Gazetteer::Load(Write(SmallGazetteerText()));
  auto all = g->FindPlaces("BROOKLYN");
  ASSERT_EQ(all.size(), 3u); // not Brooklyn Park
  EXPECT_EQ(all[0]->state, "NY");
  EXPECT_EQ(all[1]->state, "OH");
  EXPECT_EQ(all[2]->state, "IA");
  auto inOhio = g->FindPlaces("Brooklyn", "OH");
  ASSERT_EQ(inOhio.size(), 1u);
  EXPECT_EQ(inOhio[0]->state, "OH");
  EXPECT_TRUE(g->FindPlaces("Brooklyn", "TX").empty());
}

TEST_F(GazetteerTest, ANameWithoutItsCityFindsTheCityOnlyWhenNothingIsCalledSo) {
  std::string text = SmallGazetteerText();
  GazetteerPtr g = Gazetteer::Load(Write(text));
  ASSERT_EQ(g->FindPlaces("New York", "NY").size(), 1u);
  EXPECT_EQ(g->FindPlaces("New York", "NY")[0]->name, "New York City");
  // A place truly called "Kansas" wins over Kansas City.
  GazetteerPtr withKansas = Gazetteer::Load(Write(text + "place,Kansas,MO,39.0,-94.0,1200\n"));
  ASSERT_EQ(withKansas->FindPlaces("Kansas").size(), 1u);
  EXPECT_EQ(withKansas->FindPlaces("Kansas")[0]->name, "Kansas");
  // The name before a comma: "Washington" in DC is "Washington, D.C.", but
  // alone it is the place truly called so.
  ASSERT_EQ(g->FindPlaces("Washington", "DC").size(), 1u);
  EXPECT_EQ(g->FindPlaces("Washington", "DC")[0]->name, "Washington, D.C.");
  ASSERT_EQ(g->FindPlaces("Washington").size(), 1u);
  EXPECT_EQ(g->FindPlaces("Washington")[0]->state, "PA");
}

TEST_F(GazetteerTest, NamesMatchWithoutCaseAccentsOrPunctuation) {
  // A typographic apostrophe, and text that is not UTF-8: no crash, no match of garbage.
  for (const auto& [name, folded] : {std::pair{"St. Louis", "saint louis"}, {"SAINT-LOUIS", "saint louis"},
                                     {"  Cañon   City ", "canon city"}, {"O\xE2\x80\x99" "Fallon", "ofallon"},
                                     {"Ft. Myers", "fort myers"}, {"Mt Vernon", "mount vernon"}, {"\xFF\xFE broken", "broken"}})
    EXPECT_EQ(FoldPlaceName(name), folded) << name;

  GazetteerPtr g = Gazetteer::Load(Write(SmallGazetteerText()));
  EXPECT_EQ(g->FindPlaces("Saint Louis").size(), 1u);
  EXPECT_EQ(g->FindPlaces("canon city").size(), 1u);
  EXPECT_EQ(g->FindPlaces("o'fallon").size(), 1u);
}

TEST_F(GazetteerTest, StatesAreKnownByCodeAndName) {
  // "MT" is Montana, not "mount".
  for (const auto& [text, code] : {std::pair{"il", "IL"}, {"Illinois", "IL"}, {"new  YORK", "NY"}, {"MT", "MT"},
                                   {"Montana", "MT"}, {"District of Columbia", "DC"}, {"Springfield", ""}, {"", ""}})
    EXPECT_EQ(StateCode(text), code) << text;
}

TEST_F(GazetteerTest, AMalformedFileIsRefusedWithItsLine) {
  const std::string header = "kind,name,state,latitude,longitude,population\n";
  EXPECT_TRUE(Has(LoadError("ZIP,latitude,longitude,city,state\n10001,40.7,-73.9,,NY\n"), "line 1"));
  const std::pair<std::string, const char*> cases[] = {{"zip,10001,NY,40.7,-73.9,\nzip,1234,NY,40.7,-73.9,\n", "line 3"},
      {"place,Somewhere,NY,north,-73.9,\n", "latitude"}, {"place,Somewhere,NY,95,-73.9,\n", "latitude"},
      {"place,\"Open quote,NY,40,-73.9,\n", "quote"},    {"place,A,NY,40,-73.9\n", "5 fields"},
      {"road,A,NY,40,-73.9,\n", "road"},                  {"place,A,NY,40,-73.9,many\n", "population"}};
  for (const auto& [rows, refusal] : cases) EXPECT_TRUE(Has(LoadError(header + rows), refusal)) << rows;
  EXPECT_EQ(LoadError(header + "place,A,NY,40,-73.9,12\r\n\r\n"), ""); // Windows line ends and a blank line
  EXPECT_EQ(ErrorOf([&] { Gazetteer::Load(folder.Path() + "/missing.csv"); }).number, 53);
}

TEST_F(GazetteerTest, TheSharedGazetteerIsReadOncePerFile) {
  const std::string file = Write(SmallGazetteerText());
  GazetteerPtr first = Gazetteer::Shared(file);
  WriteTextFile(file, "garbage"); // not read again
  EXPECT_EQ(Gazetteer::Shared(file), first);
}

} // namespace
} // namespace tov::test
