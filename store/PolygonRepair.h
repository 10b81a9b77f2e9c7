#pragma once
#include "platform/gis/Polygon.h"

namespace tov {

// Clears the known-simple flag and simplifies. Simplify may fail on odd
// input, however the host reports it; the polygon then goes on as it is.
void SimplifyIgnoringFailure(const PolygonPtr& polygon);

} // namespace tov
