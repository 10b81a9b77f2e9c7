#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Base of the layers of a map.
class Layer : public virtual Object {
public:
  virtual std::string Name() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // False for a feature layer whose data is missing.
  virtual bool Valid() const = 0;
};

using LayerPtr = std::shared_ptr<Layer>;

} // namespace tov
