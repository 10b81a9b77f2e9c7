#include "host/app/DrawnShape.h"

#include "host/gis/GisErrors.h"
#include "platform/gis/Point.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Variant.h"

#include <geodesic.h>
#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace tov {

namespace {

using nlohmann::json;

double Number(const std::string& text) {
  try {
    return Variant(text).ToDouble();
  } catch (const HostError&) {
    throw std::invalid_argument("\"" + text + "\" is not a number");
  }
}

std::vector<double> Numbers(const std::string& text, char separator) {
  std::vector<double> values;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, separator)) values.push_back(Number(part));
  return values;
}

std::string Coordinates(double x, double y) {
  std::ostringstream text;
  text.precision(12);
  text << x << " " << y;
  return text.str();
}

// GEOS's own words for what is wrong with the ring, "" when it is simple.
std::string RingFault(const std::vector<std::pair<double, double>>& points) {
  std::string wkt = "POLYGON((";
  for (const auto& [x, y] : points) wkt += Coordinates(x, y) + ", ";
  wkt += Coordinates(points.front().first, points.front().second) + "))";
  GEOSContextHandle_t h = GeosHandle();
  std::unique_ptr<GEOSWKTReader, std::function<void(GEOSWKTReader*)>> reader(
      GEOSWKTReader_create_r(h), [h](GEOSWKTReader* r) { GEOSWKTReader_destroy_r(h, r); });
  std::unique_ptr<GEOSGeometry, std::function<void(GEOSGeometry*)>> ring(
      GEOSWKTReader_read_r(h, reader.get(), wkt.c_str()), [h](GEOSGeometry* g) { GEOSGeom_destroy_r(h, g); });
  if (!ring) return "its points make no polygon";
  if (GEOSisValid_r(h, ring.get()) == 1) return std::string();
  char* reason = GEOSisValidReason_r(h, ring.get());
  std::string text = reason ? reason : "it is not a simple ring";
  if (reason) GEOSFree_r(h, reason);
  return text;
}

} // namespace

DrawnShape DrawnShape::Rectangle(const std::string& text) {
  std::vector<double> v = Numbers(text, ',');
  if (v.size() != 4) throw std::invalid_argument("give four numbers: XMIN,YMIN,XMAX,YMAX");
  if (!(v[0] < v[2]) || !(v[1] < v[3])) throw std::invalid_argument("XMIN must be below XMAX and YMIN below YMAX");
  DrawnShape shape;
  shape.kind = Kind::Rectangle;
  shape.points = {{v[0], v[1]}, {v[2], v[3]}};
  return shape;
}

DrawnShape DrawnShape::Polygon(const std::string& text) {
  DrawnShape shape;
  shape.kind = Kind::Polygon;
  std::stringstream in(text);
  std::string vertex;
  while (std::getline(in, vertex, ',')) {
    std::stringstream words(vertex);
    std::string x, y, extra;
    if (!(words >> x >> y) || (words >> extra))
      throw std::invalid_argument("\"" + vertex + "\" is not a point: give \"X Y\" pairs separated by commas");
    shape.points.emplace_back(Number(x), Number(y));
  }
  // A ring written closed (last point = first) is the same ring.
  if (shape.points.size() > 1 && shape.points.front() == shape.points.back()) shape.points.pop_back();
  return shape;
}

DrawnShape DrawnShape::Circle(const std::string& text) {
  std::vector<double> v = Numbers(text, ',');
  if (v.size() != 3) throw std::invalid_argument("give three numbers: X,Y,R");
  DrawnShape shape;
  shape.kind = Kind::Circle;
  shape.points = {{v[0], v[1]}};
  shape.radius = v[2];
  return shape;
}

std::string DrawnShape::Refusal() const {
  if (kind == Kind::Circle)
    return radius > 0 ? std::string() : "the radius of the circle must be above 0";
  if (kind != Kind::Polygon) return std::string();
  std::vector<std::pair<double, double>> distinct = points;
  std::sort(distinct.begin(), distinct.end());
  if (std::unique(distinct.begin(), distinct.end()) - distinct.begin() < 3)
    return "a polygon needs at least three distinct points";
  const std::string fault = RingFault(points);
  if (!fault.empty())
    return "the polygon crosses or touches itself (" + fault +
           "); this method stores a shape as drawn and does not repair it";
  return std::string();
}

std::string DrawnShape::LonLatRefusal() const {
  for (const auto& [lon, lat] : points) {
    if (lon < -180 || lon > 180) return "a longitude is from -180 to 180";
    if (lat < -90 || lat > 90) return "a latitude is from -90 to 90";
  }
  return std::string();
}

DrawnShape DrawnShape::InMapUnits(const SpatialReferencePtr& sr) const {
  SpatialReferencePtr wgs84 =
      CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(4326);
  auto project = [&](double lon, double lat) {
    auto point = CreateAs<Point>(kPointProgId);
    point->PutCoords(lon, lat);
    point->SetSpatialReference(wgs84);
    point->Project(sr);
    return std::make_pair(point->X(), point->Y());
  };
  DrawnShape shape = *this;
  for (auto& [x, y] : shape.points) std::tie(x, y) = project(x, y);
  if (kind == Kind::Circle) {
    geod_geodesic ellipsoid;
    geod_init(&ellipsoid, 6378137, 1 / 298.257223563);
    double lat = 0, lon = 0, azimuth = 0;
    geod_direct(&ellipsoid, points[0].second, points[0].first, 0, radius, &lat, &lon, &azimuth);
    const auto north = project(lon, lat);
    shape.radius = std::hypot(north.first - shape.points[0].first, north.second - shape.points[0].second);
  }
  return shape;
}

json DrawnShape::PageTurn() const {
  json tool, track;
  const auto& first = points.front();
  switch (kind) {
  case Kind::Rectangle:
    tool = "SelectFeature";
    track = {{"rectangle", {points[0].first, points[0].second, points[1].first, points[1].second}}};
    break;
  case Kind::Polygon: {
    tool = "SelectByPolygon";
    json ring = json::array();
    for (const auto& [x, y] : points) ring.push_back({x, y});
    track = {{"polygon", ring}, {"closed", true}};
    break;
  }
  case Kind::Circle:
    tool = "SelectByCircle";
    track = {{"circle", {first.first, first.second, radius}}};
    break;
  }
  json actions = json::array({json{{"toolbar", "Toolbar1"}, {"button", tool}},
                              json{{"mapdown", "MapControl"}, {"map", {first.first, first.second}}, {"track", track}},
                              json{{"click", "NextButton"}}});
  return json{{"form", "SelectByDrawingOwnAreaDialog"}, {"actions", actions}};
}

} // namespace tov
