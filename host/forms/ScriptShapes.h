#pragma once
#include "platform/forms/TrackedShape.h"

#include <nlohmann/json.hpp>

namespace tov {

// The shapes a script hands to the map's track calls:
//   {"rectangle": [xmin, ymin, xmax, ymax]}
//   {"polygon": [[x1, y1], ...], "closed": true}
//   {"circle": [centreX, centreY, radius]}
// null is the empty shape of a plain click.
class ScriptShapes {
public:
  // The shape, or HostError 5 saying what is wrong with it.
  static TrackedShape ShapeOf(const nlohmann::json& shape);
};

} // namespace tov
