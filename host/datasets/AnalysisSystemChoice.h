#pragma once
#include <optional>
#include <string>

namespace tov {

// Where a data set lies, in degrees. A box that crosses the antimeridian has
// its east beyond 180 (Fiji: 177 to 182), so that west < east always holds.
struct LonLatBox {
  double west = 0, south = 0, east = 0, north = 0;
  bool empty = true;

  // Takes in a rectangle of longitudes -180..180 and latitudes. Of the two
  // ways to span the longitudes seen (through Greenwich or through the
  // antimeridian) the narrower one is kept.
  void Add(double minLon, double minLat, double maxLon, double maxLat);
  void Add(const LonLatBox& other);
  double CentreLongitude() const; // -180..180
  double CentreLatitude() const { return (south + north) / 2; }

private:
  double m_west = 0, m_east = 0;         // longitudes as given
  double m_westOver = 0, m_eastOver = 0; // the western hemisphere moved one turn east
};

// The analysis system of a data set as its description's "Projections" node
// gives it: a catalogue code and, for a projection, the parameters that
// replace the code's own.
struct AnalysisSystem {
  std::string type = "Projected"; // or "Geographic"
  long code = 0;
  std::optional<double> centralMeridian, standardParallel1, standardParallel2;
  std::string description; // one line for people
};

// An equal-area projection fitted to the box, so that areas measured in it
// are right: Albers equal-area conic with its standard parallels at 1/6 and
// 5/6 of the latitude span, or Lambert azimuthal equal-area when the box is
// wide (over 100 degrees of longitude or 50 of latitude), reaches beyond 75
// degrees of latitude, or lies on both sides of the equator alike (where a
// cone has nothing to rest on). Both are codes of the catalogue with their
// centre and parallels replaced.
AnalysisSystem ChooseEqualAreaSystem(const LonLatBox& box);

// The system of a catalogue code given with --projection: a projected or
// geographic system; HostError 5 naming the option for any other code.
AnalysisSystem SystemOfCode(long code);

} // namespace tov
