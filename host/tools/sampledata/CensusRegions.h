#pragma once
// The states and counties of the census atlas (a TopoJSON topology), with
// their postal codes and the counties' labels.
#include "host/tools/sampledata/SampleGeometry.h"

#include <gdal_priv.h>

#include <string>
#include <vector>

namespace tov::sampledata {

// A state's postal code by its FIPS code ("36" -> "NY"); "" when unknown.
std::string PostalCode(const std::string& stateFips);

struct Region {
  std::string fips;
  std::string name;
  std::string state;  // postal code
  std::string label;  // counties only
  Geom shape;
};

// Reads one object of the TopoJSON topology; repairs what needs it and
// reports every shape that had to be dropped.
std::vector<Region> ReadRegions(GDALDataset& topo, const char* object, int& repairedCount);

// Gives every county a label "Name, ST" that is unique in the data set.
// Independent cities share bare names with counties of the same state
// (Baltimore, St. Louis, several in Virginia); their county codes are 500 and
// above, and they become "Name city, ST".
void MakeCountyLabels(std::vector<Region>& counties);

} // namespace tov::sampledata
