// What the matcher makes of the texts people type for a site.
#include "GeocoderTestSupport.h"

#include "host/geocoder/AddressMatcher.h"

#include <sstream>

namespace tov::test {
namespace {

class AddressMatcherTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    tov::testing::TempFolder folder;
    WriteTextFile(folder / "g.csv", SmallGazetteerText());
    gazetteer = Gazetteer::Load(folder / "g.csv");
  }
  static GeocodeMatch Match(const std::string& text) { return AddressMatcher(gazetteer).Match(text); }
  // "label|status" of each candidate, with "@latitude,longitude" when located.
  static std::vector<std::string> Found(const std::string& text, bool located = false) {
    std::vector<std::string> out;
    for (const GeocodeCandidate& c : Match(text).candidates) {
      std::ostringstream where;
      where.precision(10);
      where << c.label << "|" << c.status;
      if (located) where << "@" << c.latitude << "," << c.longitude;
      out.push_back(where.str());
    }
    return out;
  }
  static GazetteerPtr gazetteer;
};
GazetteerPtr AddressMatcherTest::gazetteer;

using Labels = std::vector<std::string>;

// A ZIP code gives its centroid; a street address is read as its ZIP code
// (or place) and called invalid.
TEST_F(AddressMatcherTest, AZipCodeOrAStreetAddressInItGivesItsCentroid) {
  EXPECT_EQ(Found(" 10001 ", true), Labels{"ZIP 10001, NY|Succeeded@40.75065,-73.997293"});
  EXPECT_TRUE(Match("99999").candidates.empty());
  EXPECT_NE(Match("99999").message.find("99999"), std::string::npos);
  EXPECT_TRUE(Match("1000").candidates.empty()); // four digits are no ZIP code

  EXPECT_EQ(Found("350 5th Ave, New York, NY 10118", true), Labels{"ZIP 10118, NY|Invalid@40.748441,-73.985664"});
  EXPECT_NE(Match("350 5th Ave, New York, NY 10118").message.find("ZIP 10118"), std::string::npos);
}

// One place each, found as the matcher says.
TEST_F(AddressMatcherTest, ACityWithItsStateOrSpelledAnotherWayGivesThatPlace) {
  const std::pair<const char*, const char*> cases[] = {
      {"Springfield, IL", "Springfield, IL (pop. 116,250)|Succeeded"},
      {"springfield,illinois", "Springfield, IL (pop. 116,250)|Succeeded"},
      {"Springfield IL", "Springfield, IL (pop. 116,250)|Succeeded"},
      {"Springfield Massachusetts, USA", "Springfield, MA (pop. 153,060)|Succeeded"},
      {"New York, NY", "New York City, NY (pop. 8,175,133)|Succeeded"},
      {"Brooklyn, New York", "Brooklyn, NY (pop. 2,300,664)|Succeeded"},
      {"Washington DC", "Washington, D.C., DC (pop. 601,723)|Succeeded"},
      // Accents, case and punctuation do not matter.
      {"Saint Louis, MO", "St. Louis, MO (pop. 319,294)|Succeeded"},
      {"ST LOUIS", "St. Louis, MO (pop. 319,294)|Succeeded"},
      {"Canon City, Colorado", "Cañon City, CO (pop. 16,400)|Succeeded"},
      {"ofallon mo", "O'Fallon, MO (pop. 79,329)|Succeeded"},
      // Without a ZIP code known, the place stands for an address.
      {"1 Main St, Springfield, IL", "Springfield, IL (pop. 116,250)|Invalid"},
      {"350 5th Ave, New York, NY 99999", "New York City, NY (pop. 8,175,133)|Invalid"},
      // A building name before the place is as much beyond the gazetteer.
      {"Old State Capitol, Springfield, IL", "Springfield, IL (pop. 116,250)|Invalid"},
      // Text beside a ZIP code that names no place is not located either.
      {"Gotham, NY 10001", "ZIP 10001, NY|Invalid"},
      // A place with its ZIP code is the ZIP area: the finer of the two.
      {"New York, NY 10118", "ZIP 10118, NY|Succeeded"},
      {"10001-1234", "ZIP 10001, NY|Succeeded"}};
  for (const auto& [text, found] : cases) EXPECT_EQ(Found(text), Labels{found}) << text;
  EXPECT_TRUE(Match("Springfield, TX").candidates.empty());
}

TEST_F(AddressMatcherTest, ACityAloneListsEveryPlaceOfThatNameMostPopulousFirst) {
  GeocodeMatch m = Match("Brooklyn");
  EXPECT_EQ(Found("Brooklyn"), (Labels{"Brooklyn, NY (pop. 2,300,664)|Succeeded", "Brooklyn, OH (pop. 10,815)|Succeeded",
                                       "Brooklyn, IA (pop. 1,468)|Succeeded"}));
  EXPECT_NE(m.message.find("3 places match"), std::string::npos);
  EXPECT_EQ(Found("Springfield").size(), 2u);
}

TEST_F(AddressMatcherTest, NothingRecognisableFindsNothingAndSaysSo) {
  for (const char* text : {"xyzzy", "", "   ", ",,,", "12 Nowhere Lane, Atlantis"}) {
    GeocodeMatch m = Match(text);
    EXPECT_TRUE(m.candidates.empty() && !m.message.empty()) << text;
  }
  EXPECT_NE(Match("xyzzy").message.find("xyzzy"), std::string::npos);
}

TEST_F(AddressMatcherTest, AGazetteerOfZipCodesOnlySaysWhyAPlaceIsNotFound) {
  auto zipsOnly = std::make_shared<const Gazetteer>(std::vector<GazetteerEntry>{
      {GazetteerEntry::Kind::Zip, "10001", "NY", 40.75065, -73.997293, 0}});
  AddressMatcher matcher(zipsOnly);
  EXPECT_EQ(matcher.Match("10001").candidates.size(), 1u);
  GeocodeMatch m = matcher.Match("Springfield, IL");
  EXPECT_TRUE(m.candidates.empty());
  EXPECT_NE(m.message.find("ZIP codes only"), std::string::npos);
}

} // namespace
} // namespace tov::test
