// What the matcher makes of the texts people type for a site.
#include "GeocoderTestSupport.h"
#include "TempFolder.h"

#include "host/geocoder/AddressMatcher.h"

#include <gtest/gtest.h>

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
  // "label|status" of each candidate.
  static std::vector<std::string> Found(const std::string& text) {
    std::vector<std::string> out;
    for (const GeocodeCandidate& c : Match(text).candidates) out.push_back(c.label + "|" + c.status);
    return out;
  }
  static GazetteerPtr gazetteer;
};
GazetteerPtr AddressMatcherTest::gazetteer;

using Labels = std::vector<std::string>;

TEST_F(AddressMatcherTest, AZipCodeGivesItsCentroid) {
  GeocodeMatch m = Match(" 10001 ");
  ASSERT_EQ(m.candidates.size(), 1u);
  EXPECT_EQ(m.candidates[0].label, "ZIP 10001, NY");
  EXPECT_EQ(m.candidates[0].status, kGeocodeSucceeded);
  EXPECT_DOUBLE_EQ(m.candidates[0].latitude, 40.75065);
  EXPECT_DOUBLE_EQ(m.candidates[0].longitude, -73.997293);
  EXPECT_EQ(Found("10001-1234"), (Labels{"ZIP 10001, NY|Succeeded"}));
  EXPECT_TRUE(Match("99999").candidates.empty());
  EXPECT_NE(Match("99999").message.find("99999"), std::string::npos);
  EXPECT_TRUE(Match("1000").candidates.empty()); // four digits are no ZIP code
}

TEST_F(AddressMatcherTest, ACityWithItsStateGivesThatPlace) {
  EXPECT_EQ(Found("Springfield, IL"), (Labels{"Springfield, IL (pop. 116,250)|Succeeded"}));
  EXPECT_EQ(Found("springfield,illinois"), (Labels{"Springfield, IL (pop. 116,250)|Succeeded"}));
  EXPECT_EQ(Found("Springfield IL"), (Labels{"Springfield, IL (pop. 116,250)|Succeeded"}));
  EXPECT_EQ(Found("Springfield Massachusetts, USA"), (Labels{"Springfield, MA (pop. 153,060)|Succeeded"}));
  EXPECT_EQ(Found("New York, NY"), (Labels{"New York City, NY (pop. 8,175,133)|Succeeded"}));
  EXPECT_EQ(Found("Brooklyn, New York"), (Labels{"Brooklyn, NY (pop. 2,300,664)|Succeeded"}));
  EXPECT_EQ(Found("Washington DC"), (Labels{"Washington, D.C., DC (pop. 601,723)|Succeeded"}));
  EXPECT_TRUE(Match("Springfield, TX").candidates.empty());
}

TEST_F(AddressMatcherTest, ACityAloneListsEveryPlaceOfThatNameMostPopulousFirst) {
  GeocodeMatch m = Match("Brooklyn");
  EXPECT_EQ(Found("Brooklyn"), (Labels{"Brooklyn, NY (pop. 2,300,664)|Succeeded", "Brooklyn, OH (pop. 10,815)|Succeeded",
                                       "Brooklyn, IA (pop. 1,468)|Succeeded"}));
  EXPECT_NE(m.message.find("3 places match"), std::string::npos);
  EXPECT_EQ(Found("Springfield").size(), 2u);
}

TEST_F(AddressMatcherTest, AccentsCaseAndPunctuationDoNotMatter) {
  EXPECT_EQ(Found("Saint Louis, MO"), (Labels{"St. Louis, MO (pop. 319,294)|Succeeded"}));
  EXPECT_EQ(Found("ST LOUIS"), (Labels{"St. Louis, MO (pop. 319,294)|Succeeded"}));
  EXPECT_EQ(Found("Canon City, Colorado"), (Labels{"Cañon City, CO (pop. 16,400)|Succeeded"}));
  EXPECT_EQ(Found("ofallon mo"), (Labels{"O'Fallon, MO (pop. 79,329)|Succeeded"}));
}

TEST_F(AddressMatcherTest, AStreetAddressIsReadAsItsZipOrPlaceAndCalledInvalid) {
  GeocodeMatch m = Match("350 5th Ave, New York, NY 10118");
  ASSERT_EQ(m.candidates.size(), 1u);
  EXPECT_EQ(m.candidates[0].label, "ZIP 10118, NY");
  EXPECT_EQ(m.candidates[0].status, kGeocodeInvalid);
  EXPECT_DOUBLE_EQ(m.candidates[0].latitude, 40.748441);
  EXPECT_NE(m.message.find("ZIP 10118"), std::string::npos);
  // Without a ZIP code known, the place stands for the address.
  EXPECT_EQ(Found("1 Main St, Springfield, IL"), (Labels{"Springfield, IL (pop. 116,250)|Invalid"}));
  EXPECT_EQ(Found("350 5th Ave, New York, NY 99999"), (Labels{"New York City, NY (pop. 8,175,133)|Invalid"}));
  // A building name before the place is as much beyond the gazetteer.
  EXPECT_EQ(Found("Old State Capitol, Springfield, IL"), (Labels{"Springfield, IL (pop. 116,250)|Invalid"}));
  // Text beside a ZIP code that names no place is not located either.
  EXPECT_EQ(Found("Gotham, NY 10001"), (Labels{"ZIP 10001, NY|Invalid"}));
  // A place with its ZIP code is the ZIP area: the finer of the two.
  EXPECT_EQ(Found("New York, NY 10118"), (Labels{"ZIP 10118, NY|Succeeded"}));
}

TEST_F(AddressMatcherTest, NothingRecognisableFindsNothingAndSaysSo) {
  for (const char* text : {"xyzzy", "", "   ", ",,,", "12 Nowhere Lane, Atlantis"}) {
    GeocodeMatch m = Match(text);
    EXPECT_TRUE(m.candidates.empty()) << text;
    EXPECT_FALSE(m.message.empty()) << text;
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
