#include "methods/selshapes/ShapeList.h"

#include "platform/runtime/HostError.h"

namespace tov {

void ShapeList::BindGeometrySource(const QueryFilterPtr&, const ObjectPtr&) {
  throw HostError(err::InvalidCall, "TovSSA.ShapeList", "A list of gathered shapes reads no other source");
}

} // namespace tov
