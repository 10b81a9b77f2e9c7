#pragma once
#include "platform/gis/Layer.h"

namespace tov {

// ProgID "orvaCore.GroupLayer". Children indexed from 0, in drawing-list
// order (the first is on top).
class GroupLayer : public Layer {
public:
  // Appends at the end.
  virtual void Add(const LayerPtr& layer) = 0;
  // Removes the layer (the same object); not a child raises an error.
  virtual void Delete(const LayerPtr& layer) = 0;
  virtual void Clear() = 0;
  virtual long Count() const = 0;
  virtual LayerPtr Layer(long index) const = 0;
};

using GroupLayerPtr = std::shared_ptr<GroupLayer>;

} // namespace tov
