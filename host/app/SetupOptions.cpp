#include "host/app/SetupOptions.h"

#include "host/app/ExtentOption.h"
#include "host/app/LonLatToMap.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Variant.h"

#include <CLI/CLI.hpp>
#include <ogr_geometry.h>

#include <cmath>
#include <sstream>

namespace tov {

EnvelopePtr MakeEnvelope(double xMin, double yMin, double xMax, double yMax) {
  auto envelope = CreateAs<Envelope>(kEnvelopeProgId);
  envelope->PutCoords(xMin, yMin, xMax, yMax);
  return envelope;
}

EnvelopePtr ParseExtent(const std::string& text, bool lonLat) {
  const std::vector<double> v = ParseExtentOption(text, lonLat);
  return MakeEnvelope(v[0], v[1], v[2], v[3]);
}

double NumberOption(const std::string& option, const std::string& text) {
  try {
    return Variant(text).ToDouble();
  } catch (const HostError&) {
    throw CLI::ValidationError(option, "\"" + text + "\" is not a number");
  }
}

std::vector<double> LonLatNumbers(const std::string& text, size_t count, const char* option) {
  std::vector<double> values;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, ',');) {
    double v = 0;
    if (!ParseNumber(part, v)) throw CLI::ValidationError(option, "\"" + text + "\" holds no number at \"" + part + "\"");
    values.push_back(v);
  }
  if (values.size() != count)
    throw CLI::ValidationError(option, "\"" + text + "\" must be " + std::to_string(count) + " numbers separated by commas");
  for (size_t i = 0; i < values.size(); ++i)
    if (std::abs(values[i]) > (i % 2 ? 90 : 180))
      throw CLI::ValidationError(option, "\"" + text + "\" is no longitude and latitude");
  return values;
}

LayerSelection ParseSelection(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
    throw CLI::ValidationError("--select", "\"" + text + "\": give LAYER:WHERE, such as \"Counties:STATE = 'NY'\"");
  return {text.substr(0, colon), text.substr(colon + 1)};
}

std::shared_ptr<OGRGeometry> ParseGraphic(const std::string& wkt, bool lonLat) {
  OGRGeometry* geometry = nullptr;
  const OGRErr status = OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &geometry);
  std::shared_ptr<OGRGeometry> owned(geometry, [](OGRGeometry* g) { OGRGeometryFactory::destroyGeometry(g); });
  if (status != OGRERR_NONE || !geometry)
    throw CLI::ValidationError("--graphic", "\"" + wkt + "\" is not a WKT polygon");
  const auto type = wkbFlatten(geometry->getGeometryType());
  if (type != wkbPolygon && type != wkbMultiPolygon)
    throw CLI::ValidationError("--graphic", "\"" + wkt + "\" is a " + geometry->getGeometryName() + ", not a polygon");
  if (geometry->IsEmpty()) throw CLI::ValidationError("--graphic", "the polygon is empty");
  if (lonLat) {
    OGREnvelope e;
    geometry->getEnvelope(&e);
    if (std::string problem = LonLatRangeProblem(e.MinX, e.MinY, e.MaxX, e.MaxY); !problem.empty())
      throw CLI::ValidationError("--graphic", "with --lonlat, " + problem);
  }
  return owned;
}

} // namespace tov
