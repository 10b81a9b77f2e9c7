#include "store/PolygonRepair.h"

namespace tov {

void SimplifyIgnoringFailure(const PolygonPtr& polygon) {
  try {
    polygon->SetIsKnownSimple(false);
    polygon->Simplify();
  } catch (...) {
  }
}

} // namespace tov
