#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// Layers of a map in map order (a group layer before its children).
class EnumLayer : public virtual Object {
public:
  virtual void Reset() = 0;
  // The next layer, or an empty pointer at the end.
  virtual LayerPtr Next() = 0;
};

using EnumLayerPtr = std::shared_ptr<EnumLayer>;

} // namespace tov
