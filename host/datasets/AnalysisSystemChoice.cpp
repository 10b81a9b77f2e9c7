#include "host/datasets/AnalysisSystemChoice.h"

#include "host/gis/GisErrors.h"
#include "platform/runtime/HostError.h"

#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";

// Bases whose centre and parallels are replaced; all on WGS 84 (or the
// European realisation of it, within a metre).
constexpr long kAlbersBase = 9191;       // WGS 84 / NIWA Albers
constexpr long kLaeaNorthBase = 6931;    // WGS 84 / NSIDC EASE-Grid 2.0 North, centred on the pole
constexpr long kLaeaSouthBase = 6932;    // ... South
constexpr long kLaeaMidBase = 3035;      // ETRS89-extended / LAEA Europe, centred on 52 N
constexpr double kWideLongitudes = 100;
constexpr double kWideLatitudes = 50;
constexpr double kPolarLatitude = 75;

double Normalised(double lon) {
  while (lon > 180) lon -= 360;
  while (lon < -180) lon += 360;
  return lon;
}

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}
} // namespace

void LonLatBox::Add(double minLon, double minLat, double maxLon, double maxLat) {
  auto over = [](double lon) { return lon < 0 ? lon + 360 : lon; };
  // A rectangle that itself runs over the antimeridian (minLon > maxLon)
  // spans it either way.
  const double westOver = minLon <= maxLon ? std::min(over(minLon), over(maxLon)) : minLon;
  const double eastOver = minLon <= maxLon ? std::max(over(minLon), over(maxLon)) : maxLon + 360;
  if (minLon > maxLon) {
    minLon = -180;
    maxLon = 180;
  }
  if (empty) {
    m_west = minLon, m_east = maxLon, m_westOver = westOver, m_eastOver = eastOver;
    south = minLat, north = maxLat;
    empty = false;
  } else {
    m_west = std::min(m_west, minLon), m_east = std::max(m_east, maxLon);
    m_westOver = std::min(m_westOver, westOver), m_eastOver = std::max(m_eastOver, eastOver);
    south = std::min(south, minLat), north = std::max(north, maxLat);
  }
  if (m_eastOver - m_westOver < m_east - m_west) {
    west = m_westOver > 180 ? m_westOver - 360 : m_westOver;
    east = west + (m_eastOver - m_westOver);
  } else {
    west = m_west, east = m_east;
  }
}

void LonLatBox::Add(const LonLatBox& other) {
  if (other.empty) return;
  // One over the antimeridian is given as running from west to east across it.
  if (other.east > 180) Add(other.west, other.south, other.east - 360, other.north);
  else Add(other.west, other.south, other.east, other.north);
}

double LonLatBox::CentreLongitude() const { return Normalised((west + east) / 2); }

AnalysisSystem ChooseEqualAreaSystem(const LonLatBox& box) {
  AnalysisSystem system;
  const double lonSpan = box.east - box.west, latSpan = box.north - box.south;
  const double centreLon = box.CentreLongitude(), centreLat = box.CentreLatitude();
  const double parallel1 = box.south + latSpan / 6, parallel2 = box.north - latSpan / 6;
  const bool polar = box.north > kPolarLatitude || box.south < -kPolarLatitude;
  const bool wide = lonSpan > kWideLongitudes || latSpan > kWideLatitudes;
  // A box astride the equator gives parallels alike on both sides of it,
  // and a cone of nearly no slope.
  const bool equatorial = box.south < 0 && box.north > 0 && std::fabs(centreLat) < latSpan / 4;
  system.centralMeridian = centreLon;
  if (polar || wide || equatorial) {
    // The base whose latitude of origin lies nearest the centre: the
    // projection is equal-area wherever it is centred, and least distorted
    // near its centre.
    const double nearNorth = std::fabs(centreLat - 90), nearMid = std::fabs(centreLat - 52),
                 nearSouth = std::fabs(centreLat + 90);
    double origin = 52;
    system.code = kLaeaMidBase;
    if (nearNorth < nearMid) system.code = kLaeaNorthBase, origin = 90;
    if (nearSouth < std::min(nearMid, nearNorth)) system.code = kLaeaSouthBase, origin = -90;
    system.description = "Lambert azimuthal equal-area, central meridian " + Degrees(centreLon) +
                         ", latitude of origin " + Degrees(origin) + " (EPSG:" + std::to_string(system.code) +
                         " re-centred), for a" + (polar ? " polar" : wide ? " wide" : "n equatorial") + " extent";
    return system;
  }
  system.code = kAlbersBase;
  system.standardParallel1 = parallel1;
  system.standardParallel2 = parallel2;
  system.description = "Albers equal-area conic, standard parallels " + Degrees(parallel1) + " and " +
                       Degrees(parallel2) + ", central meridian " + Degrees(centreLon) + " (EPSG:" +
                       std::to_string(kAlbersBase) + " with these parameters)";
  return system;
}

AnalysisSystem SystemOfCode(long code) {
  OGRSpatialReference sr;
  ResetOgrError();
  if (sr.importFromEPSG(static_cast<int>(code)) != OGRERR_NONE)
    throw HostError(err::InvalidCall, kSource,
                    "--projection: there is no coordinate system with the code EPSG:" + std::to_string(code));
  AnalysisSystem system;
  system.code = code;
  if (sr.IsProjected() && !sr.IsCompound()) system.type = "Projected";
  else if (sr.IsGeographic() && !sr.IsCompound() && sr.GetAxesCount() == 2) system.type = "Geographic";
  else
    throw HostError(err::InvalidCall, kSource,
                    "--projection: EPSG:" + std::to_string(code) +
                        " is neither a projected nor a two-dimensional geographic coordinate system");
  const char* name = sr.GetName();
  system.description = "EPSG:" + std::to_string(code) + " (" + (name ? name : "unnamed") + ")";
  return system;
}

} // namespace tov
