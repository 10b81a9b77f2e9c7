#pragma once
#include "host/framework/Analysis.h"

#include <string>

namespace tov {

// What a user wants to know about one stored study area: what it was made
// of, where its files are and how large it is. Read from the catalogue
// record, its layer file and its one feature; nothing is changed.
struct StudyAreaProperties {
  std::string name;
  bool current = false;        // the analysis's current study area
  std::string method;          // the creating method's task name, e.g. "SetupStudyArea.CurrentExtent"
  std::string methodCaption;   // the method as the data set lists it ("" when it offers none)
  std::string mainLayer;
  std::string featuresList;
  std::string dataSet;         // the base data set the record names
  // Native paths; shown to people through ShownPath (a shared analysis's
  // location and the path within it, not this process's working copy).
  std::string layerFile;
  std::string dataLocation;    // the dataset's folder or GeoPackage
  std::string format;          // "Shapefile" or "GeoPackage"
  std::string coordinateSystem; // name, with "EPSG:code" when it has one
  bool hasShape = false;       // the feature was read; the numbers below are valid
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;             // in the study area's system
  double lonMin = 0, latMin = 0, lonMax = 0, latMax = 0;     // WGS 84 degrees
  double areaSquareKilometres = 0;
  double areaSquareMiles = 0;
  long vertexCount = 0;
  std::string problem;         // why the files cannot be read ("" when they can)
};

// The properties of the study area of that name in the extension's
// analysis. An unknown name raises HostError 5 saying so; files that cannot
// be read leave hasShape false and say why in problem.
StudyAreaProperties DescribeStudyArea(const TovExtensionPtr& extension, const std::string& name);
StudyAreaProperties DescribeStudyArea(const Analysis& analysis, const std::string& name);

// Geodesic area on the WGS 84 ellipsoid of a host polygon (any system), in
// square metres; holes are subtracted.
double GeodesicAreaSquareMetres(const GeometryPtr& polygon);

// "Label: value" lines for people.
std::string FormatStudyAreaProperties(const StudyAreaProperties& properties);
// One JSON object for scripts (numbers as numbers, null where unknown).
std::string StudyAreaPropertiesJson(const StudyAreaProperties& properties);

} // namespace tov
