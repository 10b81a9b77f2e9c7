// Reading the gazetteer file, its two indexes and how names are folded.
#include "GeocoderTestSupport.h"

#include "host/geocoder/AddressMatcher.h"
#include "host/geocoder/PlaceNames.h"

namespace tov::test {
namespace {

// "name, state" of each entry found, in order.
std::vector<std::string> Named(const std::vector<const GazetteerEntry*>& found) {
  std::vector<std::string> names;
  for (const GazetteerEntry* e : found) names.push_back(e->name + ", " + e->state);
  return names;
}
using Names = std::vector<std::string>;

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

// ZIP codes and places with quoted names are read; places come most populous
// first and can be limited to a state.
TEST_F(GazetteerTest, ReadsZipCodesAndPlacesMostPopulousFirst) {
  GazetteerPtr g = Gazetteer::Load(Write(SmallGazetteerText()));
  EXPECT_EQ(std::make_tuple(g->ZipCount(), g->PlaceCount()), std::make_tuple(3u, 14u));
  const GazetteerEntry* zip = g->FindZip("10001");
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(std::make_tuple(zip->latitude, zip->longitude, zip->state), std::make_tuple(40.75065, -73.997293, "NY"));
  EXPECT_EQ(g->FindZip("99999"), nullptr);
  ASSERT_EQ(Named(g->FindPlaces("Lexington-Fayette, Urban")), Names{"Lexington-Fayette, Urban, KY"});
  EXPECT_EQ(g->FindPlaces("lexington fayette urban")[0]->population, 295803u);

  // Not Brooklyn Park.
  EXPECT_EQ(Named(g->FindPlaces("BROOKLYN")), (Names{"Brooklyn, NY", "Brooklyn, OH", "Brooklyn, IA"}));
  EXPECT_EQ(Named(g->FindPlaces("Brooklyn", "OH")), Names{"Brooklyn, OH"});
  EXPECT_TRUE(g->FindPlaces("Brooklyn", "TX").empty());
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
  EXPECT_EQ(std::make_tuple(g->ZipCount(), g->RegionCount(), g->PlaceCount()), std::make_tuple(1u, 2u, 1u));
  ASSERT_NE(g->FindZip("ls1"), nullptr);
  EXPECT_EQ(g->FindZip("ls1")->kind, Kind::Code);
  ASSERT_EQ(Named(g->FindRegions("kings ny")), Names{"Kings, NY, "});
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

TEST_F(GazetteerTest, ANameWithoutItsCityFindsTheCityOnlyWhenNothingIsCalledSo) {
  std::string text = SmallGazetteerText();
  GazetteerPtr g = Gazetteer::Load(Write(text));
  EXPECT_EQ(Named(g->FindPlaces("New York", "NY")), Names{"New York City, NY"});
  // A place truly called "Kansas" wins over Kansas City.
  GazetteerPtr withKansas = Gazetteer::Load(Write(text + "place,Kansas,MO,39.0,-94.0,1200\n"));
  EXPECT_EQ(Named(withKansas->FindPlaces("Kansas")), Names{"Kansas, MO"});
  // The name before a comma: "Washington" in DC is "Washington, D.C.", but
  // alone it is the place truly called so.
  EXPECT_EQ(Named(g->FindPlaces("Washington", "DC")), Names{"Washington, D.C., DC"});
  EXPECT_EQ(Named(g->FindPlaces("Washington")), Names{"Washington, PA"});
}

TEST_F(GazetteerTest, NamesMatchWithoutCaseAccentsOrPunctuation) {
  // A typographic apostrophe, and text that is not UTF-8: no crash, no match of garbage.
  for (const auto& [name, folded] : {std::pair{"St. Louis", "saint louis"}, {"SAINT-LOUIS", "saint louis"},
                                     {"  Cañon   City ", "canon city"}, {"O\xE2\x80\x99" "Fallon", "ofallon"},
                                     {"Ft. Myers", "fort myers"}, {"Mt Vernon", "mount vernon"}, {"\xFF\xFE broken", "broken"}})
    EXPECT_EQ(FoldPlaceName(name), folded) << name;

  GazetteerPtr g = Gazetteer::Load(Write(SmallGazetteerText()));
  for (const char* name : {"Saint Louis", "canon city", "o'fallon"}) EXPECT_EQ(g->FindPlaces(name).size(), 1u) << name;
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
