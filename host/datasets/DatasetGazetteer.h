#pragma once
#include "host/datasets/GeoNamesPlaces.h"
#include "host/datasets/LayerCopy.h"
#include "host/geocoder/Gazetteer.h"

#include <string>
#include <vector>

namespace tov {

// How many of each kind a new data set's gazetteer holds.
struct GazetteerCounts {
  size_t regions = 0, codes = 0, places = 0, ownPlaces = 0;
};

// The entries of the ring method's gazetteer for a new data set: a point
// inside each region and each code area (a code met twice keeps its first
// area), the populated places of GeoNames that lie in a region (or within
// about two kilometres of one, for towns on a coast drawn coarsely), and
// one's own places, all of them.
std::vector<GazetteerEntry> GazetteerEntries(const LayerCopyResult& regions, const LayerCopyResult* codes,
                                             const std::vector<PopulatedPlace>& geoNames,
                                             const std::vector<PopulatedPlace>& ownPlaces, GazetteerCounts& counts);

// Whether a place lies in one of the shapes, or near one (degrees).
class PlaceFilter {
public:
  PlaceFilter(const LonLatShapes& shapes, const LonLatBox& box);
  ~PlaceFilter();
  PlaceFilter(const PlaceFilter&) = delete;
  PlaceFilter& operator=(const PlaceFilter&) = delete;
  bool Keeps(double longitude, double latitude) const;

private:
  struct Index;
  Index* m_index;
  LonLatBox m_box;
};

} // namespace tov
