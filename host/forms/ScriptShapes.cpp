#include "host/forms/ScriptShapes.h"

#include "platform/runtime/HostError.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tov {

using nlohmann::json;

namespace {

HostError Wrong(const std::string& what) { return HostError(5, "ScriptedPresenter", what); }

std::vector<double> Numbers(const json& a, size_t n, const std::string& what) {
  if (!a.is_array() || a.size() != n)
    throw Wrong("\"" + what + "\" needs " + std::to_string(n) + " numbers");
  std::vector<double> v;
  for (const json& x : a) {
    if (!x.is_number()) throw Wrong("\"" + what + "\" holds a value that is not a number");
    v.push_back(x.get<double>());
  }
  return v;
}

} // namespace

TrackedShape ScriptShapes::ShapeOf(const json& j) {
  TrackedShape s;
  if (j.is_null()) return s;
  if (!j.is_object()) throw Wrong("a tracked shape is an object such as {\"rectangle\": [0, 0, 1, 1]}");
  const int kinds = static_cast<int>(j.contains("rectangle")) + static_cast<int>(j.contains("polygon")) +
                    static_cast<int>(j.contains("circle"));
  if (kinds != 1) throw Wrong("a tracked shape has one of \"rectangle\", \"polygon\" or \"circle\"");
  for (auto it = j.begin(); it != j.end(); ++it)
    if (it.key() != "rectangle" && it.key() != "polygon" && it.key() != "circle" &&
        !(it.key() == "closed" && j.contains("polygon")))
      throw Wrong("unknown key \"" + it.key() + "\" in a tracked shape");
  if (j.contains("rectangle")) {
    auto v = Numbers(j["rectangle"], 4, "rectangle");
    s.Kind = TrackKind::Rectangle;
    s.XMin = std::min(v[0], v[2]);
    s.YMin = std::min(v[1], v[3]);
    s.XMax = std::max(v[0], v[2]);
    s.YMax = std::max(v[1], v[3]);
    s.Empty = false;
  } else if (j.contains("polygon")) {
    const json& points = j["polygon"];
    if (!points.is_array()) throw Wrong("\"polygon\" is a list of [x, y] points");
    s.Kind = TrackKind::Polygon;
    for (const json& p : points) {
      auto v = Numbers(p, 2, "polygon point");
      s.Points.emplace_back(v[0], v[1]);
    }
    if (j.contains("closed") && !j["closed"].is_boolean()) throw Wrong("\"closed\" is true or false");
    s.Closed = j.value("closed", true);
    s.Empty = s.Points.empty();
  } else {
    auto v = Numbers(j["circle"], 3, "circle");
    s.Kind = TrackKind::Circle;
    s.CenterX = v[0];
    s.CenterY = v[1];
    s.Radius = v[2];
    s.Empty = false;
  }
  return s;
}

} // namespace tov
