#pragma once
#include "host/geocoder/Gazetteer.h"

#include <string>
#include <vector>

namespace tov {

// What the geocoder says of a located address.
inline constexpr char kGeocodeSucceeded[] = "Succeeded";
inline constexpr char kGeocodeInvalid[] = "Invalid";
inline constexpr char kGeocodeFailed[] = "Failed";

// One place the text may mean.
struct GeocodeCandidate {
  std::string label;  // "Springfield, IL (pop. 116,250)", "ZIP 10001, NY"
  std::string status; // kGeocodeSucceeded, or kGeocodeInvalid when only part of the text was used
  double latitude = 0;
  double longitude = 0;
};

struct GeocodeMatch {
  std::vector<GeocodeCandidate> candidates; // best first; none: the text was not found
  std::string message;                      // what was found, for the user
};

// Reads what a user types for a site and finds it in the gazetteer:
//   "10001" or "10001-1234"            the ZIP's centroid;
//   "Springfield, IL", "Springfield Illinois", "Brooklyn"
//                                      the places of that name (in that state);
//   "350 5th Ave, New York, NY 10118"  a street address: the gazetteer knows
//                                      no streets, so the ZIP it names (else
//                                      the place) stands for it, "Invalid";
//   "LS1", "Kent", "Kings, NY"         a postal code of another form, or a
//                                      region of the data set that no place
//                                      is named after: a point inside it;
//   anything else                      no candidate ("Failed").
class AddressMatcher {
public:
  explicit AddressMatcher(GazetteerPtr gazetteer) : m_gazetteer(std::move(gazetteer)) {}
  GeocodeMatch Match(const std::string& text) const;

private:
  GazetteerPtr m_gazetteer;
};

} // namespace tov
